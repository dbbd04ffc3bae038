#include "install/files/ReplacedFile.h"

#include "core/Folders.h"
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
    return fileops::MoveAside(moved);
}

}  // namespace install
