#include "control/PackageFiles.h"

#include <vector>

#include "core/Folders.h"
#include "core/Trace.h"

namespace control::package {

namespace {

// Reads and writes stay below this size a call, so a count fits a DWORD.
constexpr size_t kMaxCall = 1u << 30;

}  // namespace

OwnFile::OwnFile() {
    // The wide name: a download folder's name need not fit the ANSI code page.
    std::vector<wchar_t> path(32768);
    const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length == 0 || length >= path.size()) {
        core::trace::Failure("GetModuleFileNameW", GetLastError());
        return;
    }
    path_.assign(path.data(), length);
    file_ = CreateFileW(path.data(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                        FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    LARGE_INTEGER size = {};
    if (file_ != INVALID_HANDLE_VALUE && GetFileSizeEx(file_, &size)) {
        size_ = static_cast<uint64_t>(size.QuadPart);
        return;
    }
    core::trace::Failure("CreateFileW (the program's own file)", GetLastError());
    if (file_ != INVALID_HANDLE_VALUE) CloseHandle(file_);
    file_ = INVALID_HANDLE_VALUE;
}

OwnFile::~OwnFile() {
    if (file_ != INVALID_HANDLE_VALUE) CloseHandle(file_);
}

bool OwnFile::ReadAt(uint64_t offset, unsigned char* data, size_t size) {
    LARGE_INTEGER at;
    at.QuadPart = static_cast<LONGLONG>(offset);
    if (!IsOpen() || !SetFilePointerEx(file_, at, nullptr, FILE_BEGIN)) return false;
    return Read(data, size);
}

bool OwnFile::Read(unsigned char* data, size_t size) {
    while (size > 0) {
        DWORD got = 0;
        const DWORD ask = static_cast<DWORD>(size < kMaxCall ? size : kMaxCall);
        if (!ReadFile(file_, data, ask, &got, nullptr)) {
            core::trace::Failure("ReadFile (the program's own file)", GetLastError());
            return false;
        }
        if (got == 0) return false;  // its end, before the bytes the trailer promised
        data += got;
        size -= got;
    }
    return true;
}

bool FolderWriter::Open(const core::packageblock::Entry& entry) {
    Close();
    path_ = folder_ + entry.path;
    // The folders on the way, private like the package's own folder (where
    // the system does not pass the list on, as Wine does not); one that
    // exists is one an earlier entry made, no one else can write there.
    for (size_t cut = entry.path.find('\\'); cut != std::string::npos; cut = entry.path.find('\\', cut + 1)) {
        const std::string folder = folder_ + entry.path.substr(0, cut);
        if (!core::folders::CreatePrivateFolder(folder) && !core::folders::Exists(folder)) return false;
    }
    file_ = CreateFileA(path_.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                        FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (file_ == INVALID_HANDLE_VALUE) core::trace::Failure("CreateFileA", path_, GetLastError());
    return file_ != INVALID_HANDLE_VALUE;
}

bool FolderWriter::Write(const unsigned char* data, size_t size) {
    while (size > 0) {
        DWORD written = 0;
        const DWORD ask = static_cast<DWORD>(size < kMaxCall ? size : kMaxCall);
        if (!WriteFile(file_, data, ask, &written, nullptr) || written == 0) {
            core::trace::Failure("WriteFile", path_, GetLastError());
            return false;
        }
        data += written;
        size -= written;
    }
    return true;
}

bool FolderWriter::Close() {
    if (file_ == INVALID_HANDLE_VALUE) return true;
    const bool closed = CloseHandle(file_) != 0;
    file_ = INVALID_HANDLE_VALUE;
    return closed;
}

}  // namespace control::package
