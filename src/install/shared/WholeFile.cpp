#include "install/shared/WholeFile.h"

#include <windows.h>

#include <algorithm>

namespace install {

namespace {

// Reads and writes go in pieces of this size (a single call takes 32 bits).
constexpr size_t kChunk = 1 << 20;
// A file read whole is held in memory; a larger one is refused rather than
// held there.
constexpr LONGLONG kMaxWholeFile = 256LL << 20;

}  // namespace

bool ReadWholeFile(const std::string& path, std::string& out) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    LARGE_INTEGER size = {};
    bool read = GetFileSizeEx(file, &size) && size.QuadPart <= kMaxWholeFile;
    if (read) out.resize(static_cast<size_t>(size.QuadPart));
    for (size_t at = 0; read && at < out.size();) {
        DWORD done = 0;
        const DWORD want = static_cast<DWORD>(std::min(kChunk, out.size() - at));
        read = ReadFile(file, &out[at], want, &done, nullptr) && done > 0;
        at += done;
    }
    CloseHandle(file);
    return read;
}

bool WriteWholeFile(const std::string& path, const std::string& content) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    bool written = true;
    for (size_t at = 0; written && at < content.size(); at += kChunk) {
        const DWORD size = static_cast<DWORD>(std::min(kChunk, content.size() - at));
        DWORD done = 0;
        written = WriteFile(file, content.data() + at, size, &done, nullptr) && done == size;
    }
    written = CloseHandle(file) && written;
    if (!written) {
        const DWORD error = GetLastError();  // for the caller's trace
        DeleteFileA(path.c_str());
        SetLastError(error);
    }
    return written;
}

}  // namespace install
