// A file that is in the way of one the run puts in its place (a payload
// file, a shortcut): moved aside first and logged, so that a rollback puts
// it back.
#pragma once

#include <string>

#include "install/InstallContext.h"
#include "install/files/FileBackup.h"

namespace install {

// Moves the file at `path` into its backup folder, the BACKUP record logged
// before the rename (a run killed in between still knows where it went).
// `count` numbers this run's backups; `moved` says where the file went.
// False when it could not be moved: the run must not write over it then.
bool MoveAsideLogged(InstallContext& ctx, fileops::BackupFolders& folders, unsigned& count, const std::string& path,
                     core::MovedAside& moved);

// Logs BACKUP for `moved` and, for a backup outside the uninstall folder,
// the size and digest of the file at `moved.path` (BACKUPSUM), before it is
// moved or copied aside, so that a rollback never puts back a file swapped
// meanwhile. False, with nothing logged, when the file cannot be read: it
// is not to be moved aside then.
bool LogBackup(InstallContext& ctx, const fileops::BackupFolders& folders, const core::MovedAside& moved);

}  // namespace install
