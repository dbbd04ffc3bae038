// Windows cabinet writer on the system's cabinet.dll (FCI).
#include <windows.h>
#include <fci.h>
#include <io.h>
#include <fcntl.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <stdexcept>

#include "CabinetWriter.h"

namespace {

// What the callbacks share: the file being added, for error messages.
struct FciContext {
    std::string currentFile;
};

FNFCIALLOC(FciAlloc) { return std::malloc(cb); }
FNFCIFREE(FciFree) { std::free(memory); }

FNFCIOPEN(FciOpen) {
    (void)pv;
    int fd = _open(pszFile, oflag, pmode);
    if (fd == -1) *err = errno;
    return fd;
}

FNFCIREAD(FciRead) {
    (void)pv;
    int n = _read(static_cast<int>(hf), memory, cb);
    if (n == -1) *err = errno;
    return static_cast<UINT>(n);
}

FNFCIWRITE(FciWrite) {
    (void)pv;
    int n = _write(static_cast<int>(hf), memory, cb);
    if (n == -1) *err = errno;
    return static_cast<UINT>(n);
}

FNFCICLOSE(FciClose) {
    (void)pv;
    int result = _close(static_cast<int>(hf));
    if (result != 0) *err = errno;
    return result;
}

FNFCISEEK(FciSeek) {
    (void)pv;
    long result = _lseek(static_cast<int>(hf), dist, seektype);
    if (result == -1) *err = errno;
    return result;
}

FNFCIDELETE(FciDelete) {
    (void)pv;
    int result = std::remove(pszFile);
    if (result != 0) *err = errno;
    return result;
}

// FCI keeps its compressed data in scratch files until the cabinet is flushed.
FNFCIGETTEMPFILE(FciTempFile) {
    (void)pv;
    char folder[MAX_PATH];
    char name[MAX_PATH];
    if (!GetTempPathA(MAX_PATH, folder) || !GetTempFileNameA(folder, "cvp", 0, name)) return FALSE;
    DeleteFileA(name);  // FCI creates it itself
    if (std::strlen(name) >= static_cast<size_t>(cbTempName)) return FALSE;
    std::strcpy(pszTempName, name);
    return TRUE;
}

FNFCIFILEPLACED(FciFilePlaced) {
    (void)pccab, (void)pszFile, (void)cbFile, (void)fContinuation, (void)pv;
    return 0;
}

// Everything must fit one cabinet; a request for the next one is a failure.
FNFCIGETNEXTCABINET(FciNextCabinet) {
    (void)pccab, (void)cbPrevCab, (void)pv;
    return FALSE;
}

FNFCISTATUS(FciStatus) {
    (void)typeStatus, (void)cb1, (void)cb2, (void)pv;
    return 0;
}

// Opens a source file and reports its local modification time. Stored files
// carry only the archive bit: the install applies each file's own attributes,
// and a read-only copy in the working folder would block its removal.
// Source paths are UTF-8 (CabinetEntry), opened by their UTF-16 names.
FNFCIGETOPENINFO(FciOpenInfo) {
    static_cast<FciContext*>(pv)->currentFile = pszName;
    int fd = _wopen(CabinetSourcePath(pszName).c_str(), _O_RDONLY | _O_BINARY);
    if (fd == -1) {
        *err = errno;
        return -1;
    }
    BY_HANDLE_FILE_INFORMATION info;
    FILETIME local;
    HANDLE handle = reinterpret_cast<HANDLE>(_get_osfhandle(fd));
    if (!GetFileInformationByHandle(handle, &info) ||
        !FileTimeToLocalFileTime(&info.ftLastWriteTime, &local) ||
        !FileTimeToDosDateTime(&local, pdate, ptime)) {
        *pdate = 0x21;  // 1980-01-01
        *ptime = 0;
    }
    *pattribs = FILE_ATTRIBUTE_ARCHIVE;
    return fd;
}

std::string FciErrorText(const ERF& erf) {
    switch (erf.erfOper) {
    case FCIERR_OPEN_SRC: return "cannot open the file";
    case FCIERR_READ_SRC: return "cannot read the file";
    case FCIERR_ALLOC_FAIL: return "out of memory";
    case FCIERR_TEMP_FILE: return "cannot write a temporary file";
    case FCIERR_BAD_COMPR_TYPE: return "compression type not supported";
    case FCIERR_CAB_FILE: return "cannot write the cabinet";
    case FCIERR_USER_ABORT: return "aborted";
    case FCIERR_MCI_FAIL: return "compression failed";
    default: return "cabinet error " + std::to_string(erf.erfOper);
    }
}

class FciCabinet {
public:
    explicit FciCabinet(const std::string& cabinetPath) : m_path(cabinetPath) {
        std::memset(&m_erf, 0, sizeof(m_erf));
        CCAB ccab = Describe(cabinetPath);
        m_hfci = FCICreate(&m_erf, FciFilePlaced, FciAlloc, FciFree, FciOpen, FciRead, FciWrite,
                           FciClose, FciSeek, FciDelete, FciTempFile, &ccab, &m_context);
        if (!m_hfci) Fail(cabinetPath);
    }
    ~FciCabinet() { FCIDestroy(m_hfci); }
    FciCabinet(const FciCabinet&) = delete;
    FciCabinet& operator=(const FciCabinet&) = delete;

    void Add(const CabinetEntry& entry, TCOMP compression) {
        if (!FCIAddFile(m_hfci, const_cast<char*>(entry.sourcePath.c_str()),
                        const_cast<char*>(entry.storedName.c_str()), FALSE, FciNextCabinet,
                        FciStatus, FciOpenInfo, compression))
            Fail(entry.sourcePath);
    }

    // Ends the folder being written: the next file starts another.
    void EndFolder() {
        if (!FCIFlushFolder(m_hfci, FciNextCabinet, FciStatus)) Fail(m_path);
    }

    void Flush() {
        if (!FCIFlushCabinet(m_hfci, FALSE, FciNextCabinet, FciStatus)) Fail(m_path);
    }

private:
    // FCI wants the folder (with its trailing separator) and the name apart.
    static CCAB Describe(const std::string& cabinetPath) {
        CCAB ccab;
        std::memset(&ccab, 0, sizeof(ccab));
        size_t cut = cabinetPath.find_last_of("\\/");
        std::string folder = cut == std::string::npos ? "" : cabinetPath.substr(0, cut + 1);
        std::string name = cabinetPath.substr(folder.size());
        if (folder.size() >= sizeof(ccab.szCabPath) || name.size() >= sizeof(ccab.szCab))
            throw std::runtime_error(cabinetPath + ": path too long for the cabinet writer");
        std::strcpy(ccab.szCabPath, folder.c_str());
        std::strcpy(ccab.szCab, name.c_str());
        ccab.cb = 0x7FFFFFFF;
        ccab.cbFolderThresh = 0x7FFFFFFF;
        return ccab;
    }

    [[noreturn]] void Fail(const std::string& subject) {
        std::string who = m_erf.erfOper == FCIERR_OPEN_SRC || m_erf.erfOper == FCIERR_READ_SRC
                              ? m_context.currentFile
                              : subject;
        throw std::runtime_error((who.empty() ? subject : who) + ": " + FciErrorText(m_erf));
    }

    std::string m_path;
    ERF m_erf;
    FciContext m_context;
    HFCI m_hfci = nullptr;
};

}  // namespace

void WriteCabinet(const std::string& cabinetPath, const std::vector<CabinetEntry>& entries) {
    CheckCabinetEntries(entries);
    FciCabinet cabinet(cabinetPath);
    const auto split = SplitByCompression(entries);
    for (const CabinetEntry& entry : split.first) cabinet.Add(entry, tcompTYPE_MSZIP);
    if (!split.first.empty() && !split.second.empty()) cabinet.EndFolder();
    for (const CabinetEntry& entry : split.second) cabinet.Add(entry, tcompTYPE_NONE);
    cabinet.Flush();
}
