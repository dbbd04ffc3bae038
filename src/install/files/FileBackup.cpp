#include "install/files/FileBackup.h"

#include <windows.h>
#include <ntsecapi.h>

#include <set>

#include "core/Folders.h"
#include "core/Trace.h"
#include "install/files/FileRules.h"
#include "util/Text.h"
#include "install/shared/DirectoryPath.h"
#include "install/files/FileRemoval.h"

namespace install::fileops {

namespace {

std::string FolderOf(const std::string& path) {
    const size_t slash = path.find_last_of('\\');
    return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

std::string NameOf(const std::string& path) {
    const size_t slash = path.find_last_of('\\');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// The backup folders hold nothing else: once empty they go, a bucket
// (filerules::BackupBucket) with the folder holding it.
void RemoveBackupFolder(const std::string& folder) {
    if (folder.empty()) return;
    RemoveEmptyFolder(folder);
    if (filerules::IsBackupBucket(NameOf(folder))) RemoveEmptyFolder(FolderOf(folder));
}

void RemoveFolderIfEmpty(const std::string& backup) { RemoveBackupFolder(FolderOf(backup)); }

}  // namespace

std::string VolumeOf(const std::string& path) {
    char volume[MAX_PATH] = "";
    if (!GetVolumePathNameA(path.c_str(), volume, sizeof volume)) {
        core::trace::Failure("GetVolumePathNameA", path, GetLastError());
        return std::string();
    }
    return volume;
}

namespace {

// 16 hexadecimal digits from the system's random source; "" without one.
std::string UnguessableText() {
    unsigned char bytes[8];
    if (!RtlGenRandom(bytes, sizeof bytes)) return std::string();
    static const char kHex[] = "0123456789abcdef";
    std::string text;
    for (unsigned char b : bytes) text += {kHex[b >> 4], kHex[b & 15]};
    return text;
}

constexpr int kFolderTries = 8;

// The file there is held: the original waits beside it, where the backup
// folder's removal cannot take it, and takes its place at the next restart.
bool PutBackAtRestart(const core::MovedAside& moved) {
    std::string beside = moved.path + ".restore";
    for (int n = 2; GetFileAttributesA(beside.c_str()) != INVALID_FILE_ATTRIBUTES && n < 100; ++n)
        beside = moved.path + ".restore" + std::to_string(n);
    if (!MoveFileExA(moved.backup.c_str(), beside.c_str(), 0)) {
        core::trace::Failure("MoveFileExA (beside the file in use)", beside, GetLastError());
        return false;
    }
    if (MoveFileExA(beside.c_str(), moved.path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_DELAY_UNTIL_REBOOT)) {
        RemoveFolderIfEmpty(moved.backup);
        return true;
    }
    core::trace::Failure("MoveFileExA (at restart)", moved.path, GetLastError());
    MoveFileExA(beside.c_str(), moved.backup.c_str(), 0);
    return false;
}

}  // namespace

BackupFolders::BackupFolders(std::string uninstallFolder, std::string productCode)
    : uninstallFolder_(std::move(uninstallFolder)),
      uninstallVolume_(VolumeOf(uninstallFolder_)),
      productCode_(std::move(productCode)) {}

std::string BackupFolders::For(const std::string& destination) {
    const std::string destinationFolder = FolderOf(destination);
    if (destinationFolder.empty() || destinationFolder != lastFolder_) {
        lastVolume_ = VolumeOf(destination);
        lastFolder_ = destinationFolder;
    }
    const std::string& volume = lastVolume_;
    if (volume.empty()) return std::string();
    for (const auto& known : made_)
        if (util::text::EqualsIgnoringAsciiCase(known.first, volume)) return known.second;
    std::string folder;
    if (util::text::EqualsIgnoringAsciiCase(volume, uninstallVolume_)) {
        folder = filerules::BackupFolder(volume, uninstallVolume_, uninstallFolder_, productCode_, "");
    } else {
        for (int attempt = 0; attempt < kFolderTries && folder.empty(); ++attempt) {
            const std::string unique = UnguessableText();
            if (unique.empty()) break;
            const std::string candidate =
                filerules::BackupFolder(volume, uninstallVolume_, uninstallFolder_, productCode_, unique);
            if (core::folders::CreatePrivateFolder(util::text::WithoutTrailingBackslashes(candidate)))
                folder = candidate;
        }
        if (folder.empty()) core::trace::Value("no backup folder could be made on", volume);
    }
    if (!folder.empty()) made_.emplace_back(volume, folder);
    return folder;
}

std::string BackupFolders::BucketFor(const std::string& destination, unsigned n, bool& onlyNumberedNames) {
    const std::string root = For(destination);
    if (root.empty()) return root;
    const std::string bucket = root + filerules::BackupBucket(n);
    for (const auto& known : buckets_)
        if (known.first == bucket) {
            onlyNumberedNames = known.second;
            return bucket;
        }
    CreateDirectoryPath(util::text::WithoutTrailingBackslashes(root));
    const std::string folder = util::text::WithoutTrailingBackslashes(bucket);
    bool madeNow = CreateDirectoryA(folder.c_str(), nullptr) != 0;
    if (!madeNow && GetLastError() != ERROR_ALREADY_EXISTS) {
        core::trace::Failure("CreateDirectoryA (backup folder)", folder, GetLastError());
        return std::string();
    }
    buckets_.emplace_back(bucket, madeNow);
    onlyNumberedNames = madeNow;
    return bucket;
}

bool BackupFolders::InUninstallFolder(const std::string& backup) const {
    return filerules::IsInUninstallFolder(backup, uninstallFolder_);
}

bool MoveAside(const core::MovedAside& moved) {
    if (MoveFileExA(moved.path.c_str(), moved.backup.c_str(), 0)) return true;
    if (GetLastError() == ERROR_PATH_NOT_FOUND && CreateDirectoryPath(FolderOf(moved.backup)) &&
        MoveFileExA(moved.path.c_str(), moved.backup.c_str(), 0))
        return true;
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
        const DWORD error = GetLastError();
        core::trace::Failure("MoveFileExA (put back)", moved.path, error);
        const bool inUse = error == ERROR_SHARING_VIOLATION || error == ERROR_ACCESS_DENIED || error == ERROR_LOCK_VIOLATION;
        return inUse && PutBackAtRestart(moved) ? PutBackOutcome::AtRestart : PutBackOutcome::Failed;
    }
    RemoveFolderIfEmpty(moved.backup);
    return PutBackOutcome::Restored;
}

std::optional<unsigned long long> FileSize(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return std::nullopt;
    return (static_cast<unsigned long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

bool HasBackup(const core::MovedAside& moved) {
    return GetFileAttributesA(moved.backup.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::vector<std::string> DeleteBackups(const std::vector<core::MovedAside>& backups) {
    std::vector<std::string> kept;
    std::set<std::string> folders;
    for (const core::MovedAside& moved : backups) {
        if (RemoveFileNow(moved.backup) != RemovalOutcome::Removed) kept.push_back(moved.backup);
        folders.insert(FolderOf(moved.backup));
    }
    for (const std::string& folder : folders) RemoveBackupFolder(folder);
    return kept;
}

}  // namespace install::fileops
