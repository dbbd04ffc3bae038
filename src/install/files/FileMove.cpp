#include "install/files/FileMove.h"

#include <windows.h>

#include <vector>

namespace install::fileops {

namespace {

// The name in the system's own form ("\??\C:\..."), which a rename through
// the open file takes; empty when the text cannot be converted.
std::wstring SystemPathOf(const std::string& path) {
    const int n = MultiByteToWideChar(CP_ACP, 0, path.c_str(), static_cast<int>(path.size()), nullptr, 0);
    if (n <= 0) return std::wstring();
    std::wstring wide(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(CP_ACP, 0, path.c_str(), static_cast<int>(path.size()), &wide[0], n);
    return L"\\??\\" + wide;
}

// Whether a path is already in the form the system would make of it: drive,
// backslashes, no "." or ".." parts, no trailing dots or spaces, within
// MAX_PATH. Only such a path can be handed to the rename as it is.
bool IsPlainFullPath(const std::string& path) {
    if (path.size() < 3 || path[1] != ':' || path[2] != '\\') return false;
    char full[MAX_PATH];
    const DWORD n = GetFullPathNameA(path.c_str(), MAX_PATH, full, nullptr);
    return n > 0 && n < MAX_PATH && path == full;
}

// The rename of the open file: one request to open it, one to rename, one to
// close, where the general move also asks about the file first. The
// permissions are reset through the same handle.
bool RenameOpenFile(const std::string& source, const std::string& destination,
                    InheritedPermissions& permissions, bool replace, bool& exists) {
    if (!IsPlainFullPath(destination)) return false;
    const std::wstring target = SystemPathOf(destination);
    if (target.empty()) return false;
    HANDLE file = CreateFileA(source.c_str(), DELETE | SYNCHRONIZE | READ_CONTROL | WRITE_DAC,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    const size_t bytes = sizeof(FILE_RENAME_INFO) + target.size() * sizeof(wchar_t);
    std::vector<unsigned char> buffer(bytes, 0);
    FILE_RENAME_INFO* info = reinterpret_cast<FILE_RENAME_INFO*>(buffer.data());
    info->ReplaceIfExists = replace ? TRUE : FALSE;
    info->RootDirectory = nullptr;
    info->FileNameLength = static_cast<DWORD>(target.size() * sizeof(wchar_t));
    target.copy(info->FileName, target.size());
    const bool renamed =
        SetFileInformationByHandle(file, FileRenameInfo, info, static_cast<DWORD>(bytes)) != 0;
    const DWORD error = renamed ? ERROR_SUCCESS : GetLastError();
    exists = error == ERROR_ALREADY_EXISTS || error == ERROR_FILE_EXISTS;
    if (renamed) permissions.Apply(file, destination);
    CloseHandle(file);
    if (!renamed) SetLastError(error);
    return renamed;
}

}  // namespace

bool MoveReplacing(const std::string& source, const std::string& destination,
                   InheritedPermissions& permissions, bool replace) {
    bool exists = false;
    if (RenameOpenFile(source, destination, permissions, replace, exists)) return true;
    if (exists) {
        SetLastError(ERROR_ALREADY_EXISTS);
        return false;
    }
    const DWORD flags = MOVEFILE_COPY_ALLOWED | (replace ? MOVEFILE_REPLACE_EXISTING : 0);
    if (!MoveFileExA(source.c_str(), destination.c_str(), flags)) return false;
    permissions.Apply(destination);
    return true;
}

}  // namespace install::fileops
