#include "install/files/ReplacedFile.h"

#include <windows.h>

#include "core/Folders.h"
#include "core/Trace.h"
#include "download/FileDigest.h"
#include "install/files/FileRules.h"

namespace install {

bool MoveAsideLogged(InstallContext& ctx, fileops::BackupFolders& folders, unsigned& count, const std::string& path,
                     core::MovedAside& moved) {
    moved = {path, ""};
    for (;;) {
        bool onlyNumberedNames = false;
        const std::string bucket = folders.BucketFor(path, ++count, onlyNumberedNames);
        if (bucket.empty()) return false;
        moved.backup = bucket + filerules::BackupName(count, path);
        if (onlyNumberedNames || !core::folders::Exists(moved.backup)) break;
    }
    if (!LogBackup(ctx, folders, moved)) return false;
    // The rename is undone only through its record: the record goes first.
    ctx.MakeLogDurable();
    return fileops::MoveAside(moved);
}

bool LogBackup(InstallContext& ctx, const fileops::BackupFolders& folders, const core::MovedAside& moved) {
    std::string check;
    if (!folders.InUninstallFolder(moved.backup)) {
        const std::optional<unsigned long long> size = fileops::FileSize(moved.path);
        const std::string digest = download::FileSha256Hex(moved.path);
        if (!size || digest.empty()) {
            core::trace::Value("not moved aside, the file cannot be read", moved.path);
            return false;
        }
        check = core::FormatBackupCheck({moved.backup, *size, digest});
    }
    ctx.Log(core::LogKind::Backup, core::FormatMovedAside(moved));
    if (!check.empty()) ctx.Log(core::LogKind::BackupSum, check);
    return true;
}

}  // namespace install
