#include "control/PackageFiles.h"

#include <psapi.h>

#include <initializer_list>
#include <vector>

#include "control/OwnImageRules.h"
#include "core/Folders.h"
#include "core/Trace.h"
#include "core/WideText.h"

namespace control::package {

namespace {

// Reads and writes stay below this size a call, so a count fits a DWORD.
constexpr size_t kMaxCall = 1u << 30;

// The running image's name as its mapping gives it now; "" (traced) when
// the system gives none.
std::wstring MappedImageName() {
    std::vector<wchar_t> name(32768);
    const DWORD length = GetMappedFileNameW(GetCurrentProcess(), GetModuleHandleW(nullptr), name.data(),
                                            static_cast<DWORD>(name.size()));
    if (length == 0 || length >= name.size()) {
        core::trace::Failure("GetMappedFileNameW", GetLastError());
        return std::wstring();
    }
    return std::wstring(name.data(), length);
}

// The program's name as it was started, when the mapping's name has a form
// no Win32 call opens.
std::wstring ModuleFileName() {
    std::vector<wchar_t> path(32768);
    const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length == 0 || length >= path.size()) {
        core::trace::Failure("GetModuleFileNameW", GetLastError());
        return std::wstring();
    }
    return std::wstring(path.data(), length);
}

// The names the system gives the file behind `file`, in every form the
// image's mapping may use.
std::vector<std::wstring> HeldNames(HANDLE file) {
    std::vector<std::wstring> names;
    std::vector<wchar_t> name(32768);
    for (const DWORD form : {FILE_NAME_NORMALIZED | VOLUME_NAME_NT, FILE_NAME_OPENED | VOLUME_NAME_NT,
                             FILE_NAME_NORMALIZED | VOLUME_NAME_DOS, FILE_NAME_OPENED | VOLUME_NAME_DOS}) {
        const DWORD length = GetFinalPathNameByHandleW(file, name.data(), static_cast<DWORD>(name.size()), form);
        if (length > 0 && length < name.size()) names.emplace_back(name.data(), length);
    }
    return names;
}

}  // namespace

OwnFile::OwnFile() {
    // Wide names: a download folder's name need not fit the ANSI code page.
    name_ = MappedImageName();
    std::wstring path = ownimage::OpenablePath(name_);
    if (path.empty()) path = ModuleFileName();
    if (path.empty()) return;
    // No FILE_SHARE_DELETE: held, the file keeps its name until the setup ends.
    file_ = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                        FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    LARGE_INTEGER size = {};
    if (file_ == INVALID_HANDLE_VALUE || !GetFileSizeEx(file_, &size)) {
        core::trace::Failure("CreateFileW (the program's own file)", GetLastError());
        Close();
        return;
    }
    size_ = static_cast<uint64_t>(size.QuadPart);
    // Taken again after the open: the image's name now is the held file's
    // only when the two are one file.
    const std::wstring after = MappedImageName();
    if (!ownimage::IsHeldFile(after, HeldNames(file_))) {
        core::trace::Value("the program's own file", core::wide::ToCodePage(after, CP_UTF8) + " is not " +
                                                       core::wide::ToCodePage(path, CP_UTF8));
        Close();
        state_ = State::kNotTheImage;
        return;
    }
    name_ = after;
    state_ = State::kOpen;
}

OwnFile::~OwnFile() { Close(); }

void OwnFile::Close() {
    if (file_ != INVALID_HANDLE_VALUE) CloseHandle(file_);
    file_ = INVALID_HANDLE_VALUE;
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
