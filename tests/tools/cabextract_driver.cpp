// cvcabtest: extracts a cabinet with the engine's extraction and prints what
// happened, for the end-to-end checks.
//   cvcabtest CABINET OUTPUT_FOLDER [--bar]
// Prints "range N" and "position N" as the progress arrives (from the worker
// thread), then "status S", "result 0|1", "extracted N", "skipped N",
// "count N", with --bar the final state of a real progress bar fed through
// window messages ("bar-range LO HI", "bar-pos P"), and one line per folder
// and file in the output folder, names relative to it with "/" between
// folders: "dir NAME", "file NAME size=S attr=0xAA write=UNIX create=UNIX".
// Exit code 0 when the extraction succeeded, otherwise the status.
#include <windows.h>

#include <commctrl.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "cabinet/CabinetExtract.h"

namespace {

struct PrintingProgress : cabinet::ExtractProgress {
    void SetRange(int n) override {
        std::printf("range %d\n", n);
        std::fflush(stdout);
    }
    void SetPosition(int n) override {
        std::printf("position %d\n", n);
        std::fflush(stdout);
    }
};

long long UnixSeconds(const FILETIME& ft) {
    ULARGE_INTEGER u;
    u.LowPart = ft.dwLowDateTime;
    u.HighPart = ft.dwHighDateTime;
    return static_cast<long long>((u.QuadPart - 116444736000000000ULL) / 10000000ULL);
}

void ListFolder(std::string folder, const std::string& relative = "") {
    if (!folder.empty() && folder.back() != '\\') folder += '\\';
    WIN32_FIND_DATAA f;
    HANDLE h = FindFirstFileA((folder + "*").c_str(), &f);
    if (h == INVALID_HANDLE_VALUE) return;
    do {
        if (std::strcmp(f.cFileName, ".") == 0 || std::strcmp(f.cFileName, "..") == 0) continue;
        const std::string name = relative + f.cFileName;
        if (f.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            std::printf("dir %s\n", name.c_str());
            ListFolder(folder + f.cFileName, name + "/");
            continue;
        }
        const std::string path = folder + f.cFileName;
        FILETIME c = f.ftCreationTime, w = f.ftLastWriteTime;
        HANDLE fh = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                OPEN_EXISTING, 0, nullptr);
        if (fh != INVALID_HANDLE_VALUE) {
            FILETIME a;
            GetFileTime(fh, &c, &a, &w);
            CloseHandle(fh);
        }
        std::printf("file %s size=%lu attr=0x%02lX write=%lld create=%lld\n", name.c_str(),
                    static_cast<unsigned long>(f.nFileSizeLow),
                    static_cast<unsigned long>(GetFileAttributesA(path.c_str())), UnixSeconds(w),
                    UnixSeconds(c));
    } while (FindNextFileA(h, &f));
    FindClose(h);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: cvcabtest CABINET OUTPUT_FOLDER [--bar]\n");
        return 64;
    }
    const bool withBar = argc > 3 && std::strcmp(argv[3], "--bar") == 0;
    PrintingProgress printing;
    bool ok;
    if (withBar) {
        INITCOMMONCONTROLSEX icc{sizeof icc, ICC_PROGRESS_CLASS};
        InitCommonControlsEx(&icc);
        HWND bar = CreateWindowExA(0, PROGRESS_CLASSA, "", WS_POPUP, 0, 0, 200, 20, nullptr, nullptr,
                                   GetModuleHandleA(nullptr), nullptr);
        cabinet::ProgressBarTarget target(bar);
        ok = cabinet::ExtractCabinet(argv[1], argv[2], &target);
        std::printf("bar-range %ld %ld\n", static_cast<long>(SendMessageA(bar, PBM_GETRANGE, TRUE, 0)),
                    static_cast<long>(SendMessageA(bar, PBM_GETRANGE, FALSE, 0)));
        std::printf("bar-pos %ld\n", static_cast<long>(SendMessageA(bar, PBM_GETPOS, 0, 0)));
        DestroyWindow(bar);
    } else {
        ok = cabinet::ExtractCabinet(argv[1], argv[2], &printing);
    }
    std::printf("status %d\n", static_cast<int>(cabinet::ExtractionStatus()));
    std::printf("result %d\n", ok ? 1 : 0);
    std::printf("extracted %d\n", static_cast<int>(cabinet::FilesExtracted()));
    std::printf("skipped %d\n", static_cast<int>(cabinet::FilesSkipped()));
    std::printf("count %d\n", static_cast<int>(cabinet::CabinetFileCount()));
    ListFolder(argv[2]);
    std::fflush(stdout);
    return ok ? 0 : static_cast<int>(cabinet::ExtractionStatus());
}
