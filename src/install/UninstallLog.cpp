#include "install/UninstallLog.h"

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
    file_ = CreateFileA(path_.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                        OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
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
