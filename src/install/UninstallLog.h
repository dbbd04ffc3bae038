// The uninstall log: lines "KEY=VALUE\r\n" appended by every installation
// phase, read later by the uninstaller.
#pragma once

#include <windows.h>

#include <string>

class UninstallLog {
public:
    UninstallLog() = default;
    ~UninstallLog();
    UninstallLog(const UninstallLog&) = delete;
    UninstallLog& operator=(const UninstallLog&) = delete;

    // Sets the log's path; an existing file there is deleted so that every
    // run starts a new log.
    void Start(const std::string& path);
    // Appends one line. The file and its folder are created when missing; a
    // line that cannot be written is dropped.
    void Append(const std::string& key, const std::string& value);
    // Closes the file so others may read it.
    void Close();
    const std::string& Path() const { return path_; }

private:
    bool Open();

    std::string path_;
    HANDLE file_ = INVALID_HANDLE_VALUE;
};
