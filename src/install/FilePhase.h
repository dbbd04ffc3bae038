// The file phase of an installation: the file list, the destination
// directories, and the copy of every payload file with its per-file rules.
#pragma once

#include <string>
#include <vector>

#include "core/FileList.h"

class InstallEngine;

class FilePhase {
public:
    explicit FilePhase(InstallEngine& engine) : engine_(engine) {}

    // Reads data.inf, logs the file total, creates the uninstall folder, the
    // installation directory and every destination directory. False when
    // data.inf cannot be read.
    bool LoadFileData();
    // Installs every record; false when the run must stop (cancel, or the
    // user abandoned it at a copy error).
    bool InstallFiles();
    size_t RecordCount() const { return records_.size(); }

private:
    enum class Outcome { Done, Stop };
    Outcome InstallRecord(size_t index, const core::filelist::FileRecord& record);
    bool CopyPayloadFile(std::string source, const std::string& destination, bool critical);
    bool PlaceFile(const std::string& source, const std::string& destination);
    // Clears a read-only destination's attributes; false when it was not read-only.
    static bool ResetReadOnly(const std::string& path);
    std::string ExpandedCopy(const std::string& source);
    void StartSelfRegistration(const std::string& destination);
    void ApplyAttributes(const std::string& destination, int32_t flags);
    bool DownloadWebItem(const core::filelist::FileRecord& record);
    void Abandon();

    InstallEngine& engine_;
    std::vector<core::filelist::FileRecord> records_;
};
