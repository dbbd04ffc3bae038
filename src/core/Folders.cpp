#include "core/Folders.h"

#include <windows.h>
#include <shlobj.h>
#include <sddl.h>

#include <cstring>
#include <ctime>

#include "core/Trace.h"
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

std::string ProgramFolder() {
    std::string path = FromBuffer([](char* b, DWORD n) { return GetModuleFileNameA(nullptr, b, n); });
    const size_t slash = path.find_last_of('\\');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
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

bool HoldsAnything(const std::string& folder) {
    WIN32_FIND_DATAA entry;
    const HANDLE find = FindFirstFileA((folder + "\\*").c_str(), &entry);
    if (find == INVALID_HANDLE_VALUE) return false;
    bool found = false;
    do found = std::strcmp(entry.cFileName, ".") != 0 && std::strcmp(entry.cFileName, "..") != 0;
    while (!found && FindNextFileA(find, &entry));
    FindClose(find);
    return found;
}

std::string WorkingFolderName() {
    std::time_t now = std::time(nullptr);
    std::tm local = {};
    localtime_s(&local, &now);
    char buf[16] = "";
    std::strftime(buf, sizeof buf, "cv%H%M%S", &local);
    return buf;
}

namespace {

// The SID of the user the process runs as, in its text form; "" (traced)
// when it cannot be read.
std::string CurrentUserSid() {
    HANDLE token = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token)) {
        trace::Failure("OpenProcessToken", GetLastError());
        return std::string();
    }
    std::string sid;
    DWORD size = 0;
    GetTokenInformation(token, TokenUser, nullptr, 0, &size);
    std::string buffer(size, '\0');
    char* text = nullptr;
    if (size == 0 || !GetTokenInformation(token, TokenUser, &buffer[0], size, &size))
        trace::Failure("GetTokenInformation", GetLastError());
    else if (!ConvertSidToStringSidA(reinterpret_cast<TOKEN_USER*>(&buffer[0])->User.Sid, &text))
        trace::Failure("ConvertSidToStringSidA", GetLastError());
    if (text) {
        sid = text;
        LocalFree(text);
    }
    CloseHandle(token);
    return sid;
}

// A security descriptor that lets only the current user, the administrators
// and the system into a folder (PrivateFolderDescriptor); freed with LocalFree.
PSECURITY_DESCRIPTOR PrivateFolderSecurity() {
    const std::string sid = CurrentUserSid();
    if (sid.empty()) return nullptr;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (!ConvertStringSecurityDescriptorToSecurityDescriptorA(PrivateFolderDescriptor(sid).c_str(),
                                                              SDDL_REVISION_1, &descriptor, nullptr)) {
        trace::Failure("ConvertStringSecurityDescriptorToSecurityDescriptorA", GetLastError());
        return nullptr;
    }
    return descriptor;
}

}  // namespace

bool CreatePrivateFolder(const std::string& path) {
    PSECURITY_DESCRIPTOR descriptor = PrivateFolderSecurity();
    if (!descriptor) return false;
    SECURITY_ATTRIBUTES attributes = {sizeof attributes, descriptor, FALSE};
    const bool made = CreateDirectoryA(path.c_str(), &attributes) != 0;
    if (!made && GetLastError() != ERROR_ALREADY_EXISTS) trace::Failure("CreateDirectoryA", path, GetLastError());
    LocalFree(descriptor);
    return made;
}

std::string CreateWorkingFolder(const std::string& tempFolder, const std::string& timeName) {
    // Without a temporary folder the path would be relative to the current folder.
    if (tempFolder.empty()) return std::string();
    // Without its private access list the folder is not made: files the setup
    // decrypts and runs from it must not be writable by other users.
    PSECURITY_DESCRIPTOR descriptor = PrivateFolderSecurity();
    if (!descriptor) return std::string();
    SECURITY_ATTRIBUTES attributes = {sizeof attributes, descriptor, FALSE};
    std::string created;
    for (unsigned attempt = 0; attempt < kWorkingFolderNameTries; ++attempt) {
        const std::string name = WorkingFolderNameCandidate(timeName, attempt);
        if (CreateDirectoryA(WorkingFolderPath(tempFolder, name).c_str(), &attributes)) {
            created = name;
            break;
        }
        // Only a name in use is worth another try; any other failure repeats.
        if (GetLastError() != ERROR_ALREADY_EXISTS) break;
    }
    LocalFree(descriptor);
    return created;
}

}  // namespace core::folders
