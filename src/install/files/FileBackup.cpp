#include "install/files/FileBackup.h"

#include <windows.h>

#include "core/Trace.h"
#include "install/shared/DirectoryPath.h"
#include "install/files/FileRemoval.h"

namespace install::fileops {

namespace {

std::string FolderOf(const std::string& path) {
    const size_t slash = path.find_last_of('\\');
    return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

// The backup folders hold nothing else: once empty they go.
void RemoveFolderIfEmpty(const std::string& backup) {
    const std::string folder = FolderOf(backup);
    if (!folder.empty()) RemoveEmptyFolder(folder);
}

}  // namespace

std::string VolumeOf(const std::string& path) {
    char volume[MAX_PATH] = "";
    if (!GetVolumePathNameA(path.c_str(), volume, sizeof volume)) {
        core::trace::Failure("GetVolumePathNameA", path, GetLastError());
        return std::string();
    }
    return volume;
}

bool MoveAside(const core::MovedAside& moved) {
    CreateDirectoryPath(FolderOf(moved.backup));
    if (MoveFileExA(moved.path.c_str(), moved.backup.c_str(), 0)) return true;
    core::trace::Failure("MoveFileExA (move aside)", moved.path, GetLastError());
    return false;
}

bool CopyAside(const core::MovedAside& moved) {
    CreateDirectoryPath(FolderOf(moved.backup));
    if (CopyFileA(moved.path.c_str(), moved.backup.c_str(), TRUE)) return true;
    core::trace::Failure("CopyFileA (copy aside)", moved.path, GetLastError());
    return false;
}

PutBackOutcome PutBack(const core::MovedAside& moved) {
    if (GetFileAttributesA(moved.backup.c_str()) == INVALID_FILE_ATTRIBUTES) return PutBackOutcome::NoBackup;
    const DWORD there = GetFileAttributesA(moved.path.c_str());
    if (there != INVALID_FILE_ATTRIBUTES && (there & FILE_ATTRIBUTE_READONLY))
        SetFileAttributesA(moved.path.c_str(), FILE_ATTRIBUTE_NORMAL);
    if (!MoveFileExA(moved.backup.c_str(), moved.path.c_str(), MOVEFILE_REPLACE_EXISTING)) {
        core::trace::Failure("MoveFileExA (put back)", moved.path, GetLastError());
        return PutBackOutcome::Failed;
    }
    RemoveFolderIfEmpty(moved.backup);
    return PutBackOutcome::Restored;
}

bool DeleteBackup(const core::MovedAside& moved) {
    if (RemoveFileNow(moved.backup) != RemovalOutcome::Removed) return false;
    RemoveFolderIfEmpty(moved.backup);
    return true;
}

}  // namespace install::fileops
