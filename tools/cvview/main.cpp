// cvview [--language LANGUAGE_FILE] LAYOUT_FILE [PNG_FILE]
//
// With --language, the page shows the captions a language file (.lan) puts
// on the standard layouts, as the setup does once a language is chosen; the
// layout file itself is not changed.
//
// Shows one page layout the way setup.exe shows it: the same page window,
// controls and resources, with an empty setup whose placeholders read as
// sample values (<ProductName> is "Sample Product", see PreviewHost.cpp).
// The page is shown as a middle page of the page list (index 1 of 3), so
// neither Back nor Cancel is disabled.
//
// The current directory becomes the folder that holds the layout's folder,
// as setup.exe runs in the folder that holds "theme\": relative file names
// of the layout (the background picture) resolve as they do in the setup.
//
// Without PNG_FILE the page stays open until it is closed (Escape or its
// close box). With PNG_FILE the painted window, frame included, is written
// to that file as a PNG at the window's outer size and the program ends;
// message boxes the page shows meanwhile are closed and their texts printed.
//
// Exit codes: 0 done, 1 the layout file does not exist or the page or PNG
// could not be made, 2 wrong arguments.
#include <windows.h>

#include <cstdio>
#include <memory>
#include <string>

#include "MessageBoxCloser.h"
#include "PngFile.h"
#include "PreviewHost.h"
#include "core/SystemLibraries.h"
#include "WindowCapture.h"
#include "skin/LayoutValues.h"
#include "skin/LocalisedLayout.h"
#include "skin/OlePicture.h"
#include "skin/PageName.h"
#include "skin/SkinnedPage.h"

namespace {

const int kPreviewIndex = 1;
const int kPreviewCount = 3;

std::string FullPath(const char* path) {
    char full[MAX_PATH * 4] = "";
    DWORD n = GetFullPathNameA(path, sizeof full, full, nullptr);
    return n > 0 && n < sizeof full ? std::string(full) : std::string(path);
}

// The folder that holds the layout's folder ("C:\x\theme\page.lcd" gives "C:\x\").
std::string SourceFolderOf(const std::string& layoutFolder) {
    if (layoutFolder.size() < 2) return layoutFolder;
    return skin::layout::FolderOf(layoutFolder.substr(0, layoutFolder.size() - 1));
}

int RunInteractive() {
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        if (skin::SkinnedPage::PreTranslatePageMessage(&msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return 0;
}

// The start of a span of `size` moved inside 0..limit where it fits, else 0.
int FitInside(int start, int size, int limit) {
    if (size > limit || start < 0) return 0;
    return start + size > limit ? limit - size : start;
}

// The capture copies the screen's pixels: a window reaching beyond the
// screen is moved inside it first (its place does not show in the picture).
// A window larger than the screen is cut at the screen's edge.
void BringOnScreen(HWND hwnd) {
    RECT outer;
    GetWindowRect(hwnd, &outer);
    int screenWidth = GetSystemMetrics(SM_CXSCREEN), screenHeight = GetSystemMetrics(SM_CYSCREEN);
    int width = outer.right - outer.left, height = outer.bottom - outer.top;
    if (outer.left >= 0 && outer.top >= 0 && outer.right <= screenWidth && outer.bottom <= screenHeight)
        return;
    if (width > screenWidth || height > screenHeight)
        std::fprintf(stderr, "cvview: the page (%dx%d) is larger than the screen (%dx%d); "
                             "the picture is cut at the screen's edge\n",
                     width, height, screenWidth, screenHeight);
    int left = FitInside(outer.left, width, screenWidth);
    int top = FitInside(outer.top, height, screenHeight);
    SetWindowPos(hwnd, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

int Render(skin::SkinnedPage& page, const std::string& pngPath) {
    PumpUntilIdle(300, 5000);
    BringOnScreen(page.Window());
    RedrawWindow(page.Window(), nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    PumpUntilIdle(200, 3000);
    HBITMAP shot = CaptureWindow(page.Window());
    if (!shot) {
        std::fprintf(stderr, "cvview: the page window could not be captured\n");
        return 1;
    }
    bool saved = SavePng(shot, pngPath);
    DeleteObject(shot);
    if (!saved) return 1;
    RECT outer;
    GetWindowRect(page.Window(), &outer);
    std::printf("%s: %ldx%ld\n", pngPath.c_str(), outer.right - outer.left, outer.bottom - outer.top);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    core::RestrictLibrarySearch();  // theme folders hold files of others too
    std::string languagePath;
    if (argc >= 3 && std::string(argv[1]) == "--language") {
        languagePath = FullPath(argv[2]);
        argc -= 2;
        argv += 2;
    }
    if (argc < 2 || argc > 3 || !argv[1][0]) {
        std::fprintf(stderr,
                     "usage: cvview [--language LANGUAGE_FILE] LAYOUT_FILE [PNG_FILE]\n"
                     "  shows the page of a layout file (.lcd) as the setup shows it;\n"
                     "  with --language, in the captions of that language file (.lan);\n"
                     "  with PNG_FILE, writes the page's picture to that file and ends.\n");
        return 2;
    }
    const std::string layoutPath = FullPath(argv[1]);
    if (!skin::FileExists(layoutPath)) {
        std::fprintf(stderr, "cvview: layout file not found: %s\n", layoutPath.c_str());
        return 1;
    }
    if (!languagePath.empty() && !skin::FileExists(languagePath)) {
        std::fprintf(stderr, "cvview: language file not found: %s\n", languagePath.c_str());
        return 1;
    }
    const std::string pngPath = argc == 3 ? FullPath(argv[2]) : std::string();
    const bool interactive = pngPath.empty();

    const std::string folder = skin::layout::FolderOf(layoutPath);
    const std::string name = layoutPath.substr(folder.size());
    SetCurrentDirectoryA(SourceFolderOf(folder).c_str());
    core::LoadSystemLibrary("RICHED32.DLL");

    PreviewHost host(interactive);
    skin::SkinnedPage page(&host);
    if (!page.Create()) {
        std::fprintf(stderr, "cvview: the page window could not be created\n");
        return 1;
    }
    int result;
    {
        std::unique_ptr<MessageBoxCloser> closer;
        if (!interactive) closer = std::make_unique<MessageBoxCloser>(GetCurrentThreadId());
        page.SetLocalisedEntries(skin::LocalisedLayoutEntries(layoutPath, languagePath));
        page.Load(folder, name, kPreviewIndex, kPreviewCount);
        skin::NamePageWindow(page.Window(), name);  // found by its layout, as the setup's pages are
        page.Show(SW_SHOWNORMAL);
        result = interactive ? RunInteractive() : Render(page, pngPath);
    }
    page.Close();
    return result;
}
