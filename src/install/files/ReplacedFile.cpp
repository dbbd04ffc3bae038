#include "install/files/ReplacedFile.h"

#include <windows.h>

#include "core/Folders.h"
#include "core/Trace.h"
#include "download/FileDigest.h"
#include "install/files/FileRules.h"

namespace install {

bool MoveAsideLogged(InstallContext& ctx, fileops::BackupFolders& folders, unsigned& count, const std::string& path,
                     core::MovedAside& moved) {
    const std::string folder = folders.For(path);
    if (folder.empty()) return false;
    moved = {path, ""};
    do moved.backup = folder + filerules::BackupName(++count, path);
    while (core::folders::Exists(moved.backup));
    ctx.Log(core::LogKind::Backup, core::FormatMovedAside(moved));
    LogBackupCheck(ctx, folders, moved);
    return fileops::MoveAside(moved);
}

void LogBackupCheck(InstallContext& ctx, const fileops::BackupFolders& folders, const core::MovedAside& moved) {
    if (folders.InUninstallFolder(moved.backup)) return;
    const std::optional<unsigned long long> size = fileops::FileSize(moved.path);
    const std::string digest = download::FileSha256Hex(moved.path);
    if (!size || digest.empty()) {
        core::trace::Value("backup not summed, the file cannot be read", moved.path);
        return;
    }
    ctx.Log(core::LogKind::BackupSum, core::FormatBackupCheck({moved.backup, *size, digest}));
}

}  // namespace install
