#include "core/Folders.h"

#include <windows.h>
#include <shlobj.h>

#include <ctime>

#include "core/WorkingFolder.h"
#include "util/Text.h"

namespace core::folders {
namespace {

// Runs a Win32 "fill this buffer" call; "" when it fails or does not fit.
template <typename Call>
std::string FromBuffer(Call call) {
    char buf[kFolderBufferSize] = "";
    DWORD n = call(buf, static_cast<DWORD>(sizeof buf));
    if (n == 0 || n >= sizeof buf) return std::string();
    return std::string(buf, n);
}

std::string WithBackslashUnlessEmpty(const std::string& s) {
    return s.empty() ? s : util::text::WithTrailingBackslash(s);
}

}  // namespace

std::string WindowsFolder() {
    return FromBuffer([](char* b, DWORD n) { return GetWindowsDirectoryA(b, n); });
}

std::string TempFolder() {
    return WithBackslashUnlessEmpty(FromBuffer([](char* b, DWORD n) { return GetTempPathA(n, b); }));
}

std::string CurrentFolder() {
    return WithBackslashUnlessEmpty(
        FromBuffer([](char* b, DWORD n) { return GetCurrentDirectoryA(n, b); }));
}

std::string SystemFolder() {
    return WithBackslashUnlessEmpty(
        FromBuffer([](char* b, DWORD n) { return GetSystemDirectoryA(b, n); }));
}

std::string LoginName() {
    char buf[kFolderBufferSize] = "";
    DWORD n = sizeof buf;
    if (!GetUserNameA(buf, &n)) return std::string();
    return std::string(buf);
}

std::string SpecialFolder(int csidl) {
    LPITEMIDLIST pidl = nullptr;
    if (FAILED(SHGetSpecialFolderLocation(nullptr, csidl, &pidl)) || !pidl) return std::string();
    char buf[MAX_PATH] = "";
    BOOL ok = SHGetPathFromIDListA(pidl, buf);
    CoTaskMemFree(pidl);
    if (!ok) return std::string();
    std::string path(buf);
    // Some systems return a few folders with a trailing backslash; the values
    // are used without one.
    while (path.size() > 3 && path.back() == '\\') path.pop_back();
    return path.size() < kFolderBufferSize ? path : std::string();
}

bool Exists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool IsFile(const std::string& path) {
    const DWORD attributes = path.empty() ? INVALID_FILE_ATTRIBUTES : GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::string WorkingFolderName() {
    std::time_t now = std::time(nullptr);
    std::tm local = {};
    localtime_s(&local, &now);
    char buf[16] = "";
    std::strftime(buf, sizeof buf, "cv%H%M%S", &local);
    return buf;
}

std::string CreateWorkingFolder(const std::string& tempFolder, const std::string& timeName) {
    // Without a temporary folder the path would be relative to the current folder.
    if (tempFolder.empty()) return std::string();
    for (unsigned attempt = 0; attempt < kWorkingFolderNameTries; ++attempt) {
        const std::string name = WorkingFolderNameCandidate(timeName, attempt);
        if (CreateDirectoryA(WorkingFolderPath(tempFolder, name).c_str(), nullptr)) return name;
        // Only a name in use is worth another try; any other failure repeats.
        if (GetLastError() != ERROR_ALREADY_EXISTS) break;
    }
    return std::string();
}

}  // namespace core::folders
