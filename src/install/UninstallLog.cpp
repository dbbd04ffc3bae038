#include "install/UninstallLog.h"

#include "install/DirectoryPath.h"

UninstallLog::~UninstallLog() { Close(); }

void UninstallLog::Start(const std::string& path) {
    Close();
    path_ = path;
    if (GetFileAttributesA(path_.c_str()) != INVALID_FILE_ATTRIBUTES) DeleteFileA(path_.c_str());
}

bool UninstallLog::Open() {
    if (file_ != INVALID_HANDLE_VALUE) return true;
    if (path_.empty()) return false;
    // Shared for reading: the log may be looked at while the run goes on.
    auto open = [this] {
        return CreateFileA(path_.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                           nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    };
    file_ = open();
    // The first line (the file total) comes before the run creates the log's
    // folder: make the folder rather than lose the line.
    if (file_ == INVALID_HANDLE_VALUE && GetLastError() == ERROR_PATH_NOT_FOUND) {
        CreateDirectoryPath(path_.substr(0, path_.find_last_of('\\')));
        file_ = open();
    }
    return file_ != INVALID_HANDLE_VALUE;
}

void UninstallLog::Append(const std::string& key, const std::string& value) {
    if (!Open()) return;
    const std::string line = key + "=" + value + "\r\n";
    DWORD written = 0;
    WriteFile(file_, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
}

void UninstallLog::Close() {
    if (file_ != INVALID_HANDLE_VALUE) CloseHandle(file_);
    file_ = INVALID_HANDLE_VALUE;
}
