#include "cabinet/CabinetExtract.h"

#include <commctrl.h>
#include <fcntl.h>
#include <fdi.h>
#include <io.h>
#include <process.h>
#include <sys/stat.h>

#include <cstring>
#include <new>
#include <set>

#include "cabinet/CabinetNames.h"
#include "cabinet/EmbeddedCabinet.h"
#include "cabinet/ExtractWriter.h"
#include "core/MessageWait.h"
#include "core/WorkingFolder.h"
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

// Everything one extraction needs inside the callbacks. The files themselves
// are written by the writer; the counters move as it creates or skips them.
struct Job : ExtractListener {
    char outputFolder[kOutputFolderSize] = "";
    ExtractProgress* progress = nullptr;
    int cabinetFiles = 0;  // the cabinet header's own count, used when no count is announced
    ExtractWriter* writer = nullptr;

    void FileCreated() override {
        ++g_extracted;
        AnnouncePosition();
    }
    void FileSkipped() override {
        ++g_skipped;
        AnnouncePosition();
    }
    void AnnouncePosition() {
        if (progress) progress->SetPosition(g_extracted + g_skipped);
    }
    void AnnounceCount(int count) {
        if (g_fileCount != -1) return;
        g_fileCount = count;
        if (progress) progress->SetRange(count);
    }

    // A sub-folder of the output folder, made on first use. False when it
    // cannot be made.
    bool MakeSubfolder(const std::string& name) {
        if (subfoldersMade.count(name)) return true;
        char path[MAX_PATH];
        if (!JoinBounded(path, sizeof path, outputFolder, name.c_str())) return false;
        if (!CreateDirectoryA(path, nullptr)) {
            const DWORD attrs = GetFileAttributesA(path);
            if (attrs == INVALID_FILE_ATTRIBUTES || !(attrs & FILE_ATTRIBUTE_DIRECTORY)) return false;
        }
        try {
            subfoldersMade.insert(name);
        } catch (const std::bad_alloc&) {
            // Only the note is lost: the folder is made again next time.
        }
        return true;
    }
    std::set<std::string> subfoldersMade;
};

Job* volatile g_job = nullptr;

ExtractWriter* Writer() {
    Job* job = g_job;
    return job ? job->writer : nullptr;
}

// ---- Callbacks handed to the decompressor: plain functions ------------------
// Handles of files being extracted are the writer's tokens; every other
// handle is a descriptor of the cabinet itself.

FNALLOC(CabAlloc) { return HeapAlloc(GetProcessHeap(), 0, cb); }

FNFREE(CabFree) {
    if (pv) HeapFree(GetProcessHeap(), 0, pv);
}

FNOPEN(CabOpen) { return OpenCabinetFile(pszFile, oflag, pmode); }

FNREAD(CabRead) {
    if (ExtractWriter::IsToken(hf)) return static_cast<UINT>(-1);
    return ReadCabinetFile(static_cast<int>(hf), pv, cb);
}

FNWRITE(CabWrite) {
    if (ExtractWriter::IsToken(hf)) {
        ExtractWriter* w = Writer();
        return w && w->Write(hf, pv, cb) ? cb : static_cast<UINT>(-1);
    }
    return static_cast<UINT>(_write(static_cast<int>(hf), pv, cb));
}

FNCLOSE(CabClose) {
    if (ExtractWriter::IsToken(hf)) {
        if (ExtractWriter* w = Writer()) w->Close(hf);
        return 0;
    }
    return CloseCabinetFile(static_cast<int>(hf));
}

FNSEEK(CabSeek) {
    if (ExtractWriter::IsToken(hf)) return -1;
    return SeekCabinetFile(static_cast<int>(hf), dist, seektype);
}

// ---- Notifications --------------------------------------------------------------

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
    job.writer->NextFile();
    if (g_fileCount == -1) job.AnnounceCount(job.cabinetFiles);
    const std::string name =
        OutputName(StoredNameInCodePage(n->psz1 ? n->psz1 : "", n->attribs), GetACP());
    if (name.empty()) {
        // Never written; the extraction goes on but fails at its end.
        job.writer->Skip();
        return 0;
    }
    // A bare name holds no backslash: one in the relative path ends its sub-folder.
    const std::string relative = core::ExtractedRelativePath(name);
    const size_t cut = relative.find('\\');
    if (cut != std::string::npos && !job.MakeSubfolder(relative.substr(0, cut))) return -1;
    char path[MAX_PATH];
    if (!JoinBounded(path, sizeof path, job.outputFolder, relative.c_str())) return -1;
    return job.writer->Begin(path);
}

INT_PTR CloseFileNotification(Job& job, PFDINOTIFICATION n) {
    return job.writer->End(n->hf, n->date, n->time, n->attribs) ? TRUE : FALSE;
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
            job.AnnounceCount(pfdin->iFolder);
            return 0;
        default:  // cabinet information, partial file, next cabinet
            return 0;
    }
}

int32_t Extract(const std::string& cabinetPath, const std::string& outputFolder, Job& job,
                bool writerThread) {
    // An empty folder would put the files at the root of the current drive.
    if (outputFolder.empty()) return kStatusExtractFailed;
    const std::string folder = util::text::WithTrailingBackslash(outputFolder);
    if (folder.size() >= sizeof job.outputFolder) return kStatusExtractFailed;
    util::text::CopyTruncated(job.outputFolder, sizeof job.outputFolder, folder.c_str());

    ERF erf = {};
    HFDI fdi = FDICreate(CabAlloc, CabFree, CabOpen, CabRead, CabWrite, CabClose, CabSeek, cpu80386, &erf);
    if (!fdi) return kStatusContextFailed;

    // Cabinet path, split at its last backslash into folder and name.
    char cabPath[kMaxCabinetPath + 1];
    char cabFolder[kMaxCabinetPath + 1] = "";
    char cabName[kMaxCabinetPath + 1] = "";
    int fd = -1;
    if (cabinetPath.size() <= kMaxCabinetPath) {
        util::text::CopyTruncated(cabPath, sizeof cabPath, cabinetPath.c_str());
        fd = OpenCabinetFile(cabPath, _O_BINARY | _O_RDONLY | _O_SEQUENTIAL, 0);
    }
    if (fd == -1) {
        FDIDestroy(fdi);
        return kStatusOpenFailed;
    }
    FDICABINETINFO info = {};
    if (!FDIIsCabinet(fdi, fd, &info)) {
        CloseCabinetFile(fd);
        FDIDestroy(fdi);
        return kStatusNotCabinet;
    }
    CloseCabinetFile(fd);
    job.cabinetFiles = info.cFiles;

    const char* slash = std::strrchr(cabPath, '\\');
    if (slash) {
        const size_t folderLen = static_cast<size_t>(slash - cabPath) + 1;
        std::memcpy(cabFolder, cabPath, folderLen);
        cabFolder[folderLen] = '\0';
        util::text::CopyTruncated(cabName, sizeof cabName, slash + 1);
    } else {
        util::text::CopyTruncated(cabName, sizeof cabName, cabPath);
    }

    ExtractWriter writer(job, writerThread);
    job.writer = &writer;
    const bool copied = FDICopy(fdi, cabName, cabFolder, 0, Notify, nullptr, &job) != FALSE;
    // The file being written when the extraction failed (whether or not the
    // library already closed it) may be incomplete: it is removed.
    if (!writer.Drain() || !copied) {
        writer.RemoveUnfinished();
        job.writer = nullptr;
        FDIDestroy(fdi);
        return kStatusExtractFailed;
    }
    job.writer = nullptr;
    // No count was announced and no file was met: a cabinet without files.
    job.AnnounceCount(job.cabinetFiles);
    const bool destroyed = FDIDestroy(fdi) != FALSE;
    // A file whose name could not be used is missing from the output.
    if (g_skipped != 0) return kStatusExtractFailed;
    return destroyed ? kStatusSuccess : kStatusDestroyFailed;
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
                      ExtractProgress* progress, bool writerThread) {
    if (InterlockedExchange(&g_busy, 1) != 0) return kStatusContextFailed;
    g_status = kStatusSuccess;
    g_extracted = 0;
    g_skipped = 0;
    g_fileCount = -1;
    Job job;
    job.progress = progress;
    g_job = &job;
    const int32_t status = Extract(cabinetPath, outputFolder, job, writerThread);
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
        // On this thread, which owns the windows the progress goes to: the
        // files are written here too, so the progress messages are served.
        args.status = RunExtraction(cabinetPath, outputFolder, progress, false);
    } else {
        HANDLE h = reinterpret_cast<HANDLE>(thread);
        core::WaitDispatchingMessages(h);
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
