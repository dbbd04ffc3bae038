#include "cabinet/CabinetExtract.h"

#include <commctrl.h>
#include <fcntl.h>
#include <fdi.h>
#include <io.h>
#include <process.h>
#include <sys/stat.h>

#include <cstring>

#include "cabinet/CabinetNames.h"
#include "control/MessageWait.h"
#include "util/Text.h"

namespace cabinet {

namespace {

// Process-wide results: plain 32-bit words written by the worker.
volatile int32_t g_status = kStatusSuccess;
volatile int32_t g_extracted = 0;
volatile int32_t g_skipped = 0;
volatile int32_t g_fileCount = -1;
// Set while an extraction runs: one at a time.
volatile LONG g_busy = 0;

constexpr USHORT kKeptAttributes = _A_RDONLY | _A_HIDDEN | _A_SYSTEM | _A_ARCH;  // 0x27

// Everything one extraction needs inside the callbacks.
struct Job {
    char outputFolder[kOutputFolderSize] = "";
    ExtractProgress* progress = nullptr;
    int cabinetFiles = 0;  // the cabinet header's own count, used when no count is announced
    // The file being written: its path (kept after it was closed until the
    // next file starts, as the library may close a file it failed to finish),
    // and its descriptor until closed.
    char currentPath[MAX_PATH] = "";
    int currentFd = -1;
    bool currentIsNew = false;  // created by this extraction, not replacing a file
};

Job* volatile g_job = nullptr;

// ---- Callbacks handed to the decompressor: plain functions ------------------

FNALLOC(CabAlloc) { return HeapAlloc(GetProcessHeap(), 0, cb); }

FNFREE(CabFree) {
    if (pv) HeapFree(GetProcessHeap(), 0, pv);
}

FNOPEN(CabOpen) { return _open(pszFile, oflag, pmode); }

FNREAD(CabRead) { return static_cast<UINT>(_read(static_cast<int>(hf), pv, cb)); }

FNWRITE(CabWrite) { return static_cast<UINT>(_write(static_cast<int>(hf), pv, cb)); }

FNCLOSE(CabClose) {
    Job* job = g_job;
    if (job && job->currentFd == static_cast<int>(hf)) job->currentFd = -1;
    return _close(static_cast<int>(hf));
}

FNSEEK(CabSeek) { return _lseek(static_cast<int>(hf), dist, seektype); }

// ---- Notifications --------------------------------------------------------------

void AnnounceCount(Job& job, int count) {
    if (g_fileCount != -1) return;
    g_fileCount = count;
    if (job.progress) job.progress->SetRange(count);
}

void AnnouncePosition(Job& job) {
    if (job.progress) job.progress->SetPosition(g_extracted + g_skipped);
}

// A stored name flagged as UTF-8 in the system code page; "" when it has no
// exact form there (the file is then skipped).
std::string StoredNameInCodePage(const char* name, USHORT attribs) {
    if (!(attribs & _A_NAME_IS_UTF)) return name;
    int wide = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, name, -1, nullptr, 0);
    if (wide <= 0) return std::string();
    std::wstring w(static_cast<size_t>(wide), L'\0');
    MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, name, -1, &w[0], wide);
    BOOL usedDefault = FALSE;
    int n = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, w.c_str(), -1, nullptr, 0, nullptr,
                                &usedDefault);
    if (n <= 0 || usedDefault) return std::string();
    std::string out(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, w.c_str(), -1, &out[0], n, nullptr, &usedDefault);
    if (usedDefault) return std::string();
    out.resize(std::strlen(out.c_str()));
    return out;
}

INT_PTR CopyFileNotification(Job& job, PFDINOTIFICATION n) {
    job.currentPath[0] = '\0';  // the previous file was finished
    if (g_fileCount == -1) AnnounceCount(job, job.cabinetFiles);
    const std::string name = OutputName(StoredNameInCodePage(n->psz1 ? n->psz1 : "", n->attribs));
    if (name.empty()) {
        ++g_skipped;
        AnnouncePosition(job);
        return 0;  // skip this file
    }
    char path[MAX_PATH];
    if (!JoinBounded(path, sizeof path, job.outputFolder, name.c_str())) return -1;
    // Creating a file in a big folder is the costly part under some systems,
    // so a new file costs one search of the folder. A file of the same name
    // written earlier is replaced, made writable first when it is read-only.
    const int flags = _O_BINARY | _O_CREAT | _O_WRONLY | _O_SEQUENTIAL;
    int fd = _open(path, flags | _O_EXCL, _S_IREAD | _S_IWRITE);
    job.currentIsNew = fd != -1;
    if (fd == -1) {
        DWORD attrs = GetFileAttributesA(path);
        if (attrs != INVALID_FILE_ATTRIBUTES && (attrs & FILE_ATTRIBUTE_READONLY) &&
            !(attrs & FILE_ATTRIBUTE_DIRECTORY))
            SetFileAttributesA(path, FILE_ATTRIBUTE_NORMAL);
        fd = _open(path, flags | _O_TRUNC, _S_IREAD | _S_IWRITE);
    }
    if (fd == -1) return -1;
    text::CopyTruncated(job.currentPath, sizeof job.currentPath, path);
    job.currentFd = fd;
    ++g_extracted;
    AnnouncePosition(job);
    return fd;
}

INT_PTR CloseFileNotification(Job& job, PFDINOTIFICATION n) {
    if (job.currentFd == static_cast<int>(n->hf)) job.currentFd = -1;
    // The date goes on through the open file, which saves opening it again.
    FILETIME local, utc;
    if (DosDateTimeToFileTime(n->date, n->time, &local) && LocalFileTimeToFileTime(&local, &utc)) {
        HANDLE h = reinterpret_cast<HANDLE>(_get_osfhandle(static_cast<int>(n->hf)));
        if (h != INVALID_HANDLE_VALUE) SetFileTime(h, &utc, nullptr, &utc);
    }
    _close(static_cast<int>(n->hf));
    const char* path = job.currentPath;
    if (!path[0]) return TRUE;
    // A new file already carries the archive attribute alone, the common case.
    const DWORD attrs = n->attribs & kKeptAttributes;
    if (!job.currentIsNew || attrs != FILE_ATTRIBUTE_ARCHIVE)
        SetFileAttributesA(path, attrs ? attrs : FILE_ATTRIBUTE_NORMAL);
    return TRUE;
}

FNFDINOTIFY(Notify) {
    Job& job = *static_cast<Job*>(pfdin->pv);
    switch (fdint) {
        case fdintCOPY_FILE:
            return CopyFileNotification(job, pfdin);
        case fdintCLOSE_FILE_INFO:
            return CloseFileNotification(job, pfdin);
        case fdintENUMERATE:
            // Files remaining when the scan of the file entries starts.
            AnnounceCount(job, pfdin->iFolder);
            return 0;
        default:  // cabinet information, partial file, next cabinet
            return 0;
    }
}

// The file the extraction was writing when it failed may be incomplete
// (whether or not the library already closed it): it is removed.
void RemovePartialFile(Job& job) {
    if (job.currentFd != -1) {
        _close(job.currentFd);
        job.currentFd = -1;
    }
    if (job.currentPath[0]) {
        SetFileAttributesA(job.currentPath, FILE_ATTRIBUTE_NORMAL);
        DeleteFileA(job.currentPath);
        job.currentPath[0] = '\0';
    }
}

int32_t Extract(const std::string& cabinetPath, const std::string& outputFolder, Job& job) {
    // An empty folder would put the files at the root of the current drive.
    if (outputFolder.empty()) return kStatusExtractFailed;
    const std::string folder = text::WithTrailingBackslash(outputFolder);
    if (folder.size() >= sizeof job.outputFolder) return kStatusExtractFailed;
    text::CopyTruncated(job.outputFolder, sizeof job.outputFolder, folder.c_str());

    ERF erf = {};
    HFDI fdi = FDICreate(CabAlloc, CabFree, CabOpen, CabRead, CabWrite, CabClose, CabSeek, cpu80386, &erf);
    if (!fdi) return kStatusContextFailed;

    // Cabinet path, split at its last backslash into folder and name.
    char cabPath[kMaxCabinetPath + 1];
    char cabFolder[kMaxCabinetPath + 1] = "";
    char cabName[kMaxCabinetPath + 1] = "";
    int fd = -1;
    if (cabinetPath.size() <= kMaxCabinetPath) {
        text::CopyTruncated(cabPath, sizeof cabPath, cabinetPath.c_str());
        fd = _open(cabPath, _O_BINARY | _O_RDONLY | _O_SEQUENTIAL, 0);
    }
    if (fd == -1) {
        FDIDestroy(fdi);
        return kStatusOpenFailed;
    }
    FDICABINETINFO info = {};
    if (!FDIIsCabinet(fdi, fd, &info)) {
        _close(fd);
        FDIDestroy(fdi);
        return kStatusNotCabinet;
    }
    _close(fd);
    job.cabinetFiles = info.cFiles;

    const char* slash = std::strrchr(cabPath, '\\');
    if (slash) {
        const size_t folderLen = static_cast<size_t>(slash - cabPath) + 1;
        std::memcpy(cabFolder, cabPath, folderLen);
        cabFolder[folderLen] = '\0';
        text::CopyTruncated(cabName, sizeof cabName, slash + 1);
    } else {
        text::CopyTruncated(cabName, sizeof cabName, cabPath);
    }

    if (!FDICopy(fdi, cabName, cabFolder, 0, Notify, nullptr, &job)) {
        RemovePartialFile(job);
        FDIDestroy(fdi);
        return kStatusExtractFailed;
    }
    // No count was announced and no file was met: a cabinet without files.
    AnnounceCount(job, job.cabinetFiles);
    if (!FDIDestroy(fdi)) return kStatusDestroyFailed;
    return kStatusSuccess;
}

struct ThreadArgs {
    const std::string* cabinetPath;
    const std::string* outputFolder;
    ExtractProgress* progress;
    int32_t status;
};

unsigned __stdcall ExtractionThread(void* p) {
    ThreadArgs* a = static_cast<ThreadArgs*>(p);
    a->status = RunExtraction(*a->cabinetPath, *a->outputFolder, a->progress);
    return 0;
}

}  // namespace

void ProgressBarTarget::SetRange(int fileCount) {
    m_throttle.SetRange(fileCount);
    SendMessageA(m_bar, PBM_SETRANGE32, 0, fileCount);
}

void ProgressBarTarget::SetPosition(int filesDone) {
    if (m_throttle.Due(filesDone, GetTickCount()))
        SendMessageA(m_bar, PBM_SETPOS, static_cast<WPARAM>(filesDone), 0);
}

std::string PayloadCabinetPath(const std::string& sourceFolder) {
    return sourceFolder + kPayloadCabinetName;
}

int32_t RunExtraction(const std::string& cabinetPath, const std::string& outputFolder,
                      ExtractProgress* progress) {
    if (InterlockedExchange(&g_busy, 1) != 0) return kStatusContextFailed;
    g_status = kStatusSuccess;
    g_extracted = 0;
    g_skipped = 0;
    g_fileCount = -1;
    Job job;
    job.progress = progress;
    g_job = &job;
    const int32_t status = Extract(cabinetPath, outputFolder, job);
    g_job = nullptr;
    g_status = status;
    InterlockedExchange(&g_busy, 0);
    return status;
}

bool ExtractCabinet(const std::string& cabinetPath, const std::string& outputFolder,
                    ExtractProgress* progress) {
    ThreadArgs args{&cabinetPath, &outputFolder, progress, kStatusContextFailed};
    uintptr_t thread = _beginthreadex(nullptr, 0, ExtractionThread, &args, 0, nullptr);
    if (thread == 0) {
        args.status = RunExtraction(cabinetPath, outputFolder, progress);
    } else {
        HANDLE h = reinterpret_cast<HANDLE>(thread);
        WaitDispatchingMessages(h);
        WaitForSingleObject(h, INFINITE);
        CloseHandle(h);
    }
    return args.status == kStatusSuccess;
}

int32_t ExtractionStatus() { return g_status; }
int32_t FilesExtracted() { return g_extracted; }
int32_t FilesSkipped() { return g_skipped; }
int32_t CabinetFileCount() { return g_fileCount; }

}  // namespace cabinet
