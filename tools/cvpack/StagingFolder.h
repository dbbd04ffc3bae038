// A build's output grows in a temporary sibling of the target folder and takes
// the target's place only when it is complete, so a failed or interrupted
// build never leaves a folder that looks finished.
#pragma once

#include <filesystem>

class StagingFolder {
public:
    // Creates "<target>.tmp-XXXXXXXX" beside target (and target's parents).
    explicit StagingFolder(const std::filesystem::path& target);
    // Removes the temporary folder unless Commit succeeded.
    ~StagingFolder();
    StagingFolder(const StagingFolder&) = delete;
    StagingFolder& operator=(const StagingFolder&) = delete;

    const std::filesystem::path& Path() const { return m_path; }

    // Puts the temporary folder in the target's place. An existing target is
    // moved aside first and restored if the swap fails. Throws std::runtime_error.
    void Commit();

private:
    std::filesystem::path m_target;
    std::filesystem::path m_path;
    bool m_committed = false;
};

// A name "<target><tag>XXXXXXXX" beside target that does not exist yet.
std::filesystem::path UnusedSibling(const std::filesystem::path& target, const char* tag);
