#include "install/shortcuts/Shortcuts.h"

#include <windows.h>

#include "core/Settings.h"
#include "core/Trace.h"
#include "install/files/ReplacedFile.h"
#include "install/shared/DirectoryPath.h"
#include "install/shortcuts/ShellLink.h"
#include "install/shared/ShippedFiles.h"
#include "install/shortcuts/ShortcutRules.h"
#include "util/Text.h"

namespace install {

namespace {

namespace keys = core::keys::foldercv;
using namespace install::shortcutrules;

// Where the shortcuts that were in the way wait, and how many there are.
struct Backups {
    fileops::BackupFolders folders;
    unsigned count;
};

// One entry of the project's shortcut list, as read.
struct ShortcutEntry {
    std::string location, name, target, description, windowState, workingFolder, arguments, iconFile,
        feature;
    int iconIndex = 0;
};

ShortcutEntry ReadEntry(const std::string& ini, int i) {
    auto field = [&](const char* letter) {
        return core::settings::ReadListField(ini, keys::kSection, letter, i);
    };
    ShortcutEntry e;
    e.location = field(keys::kLocation);
    e.name = field(keys::kName);
    e.target = field(keys::kTarget);
    e.description = field(keys::kDescription);
    e.windowState = field(keys::kWindowState);
    e.workingFolder = field(keys::kWorkingDir);
    e.arguments = field(keys::kArguments);
    e.iconFile = field(keys::kIconFile);
    e.iconIndex = core::settings::ParseNumber(field(keys::kIconIndex).c_str());
    e.feature = field(keys::kFeature);
    return e;
}

// Writes a shortcut at `path` with `save`. One of that name that is there
// (the user's own) is moved aside first, for a rollback to put back, and
// comes back at once when the new one cannot be written; one that cannot be
// moved aside is not written over.
template <typename Save>
void PlaceShortcut(InstallContext& ctx, Backups& backups, const std::string& path, Save save) {
    const bool there = GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
    core::MovedAside moved;
    if (there && !MoveAsideLogged(ctx, backups.folders, backups.count, path, moved)) {
        core::trace::Value("shortcut not replaced, it could not be moved aside", path);
        return;
    }
    if (save()) ctx.Log(core::LogKind::Shortcut, path);
    else if (there) fileops::PutBack(moved);
}

// Creates one shortcut: its group folder, the .url of a web target, the
// icon copy and the .lnk, each logged once it exists.
void CreateShortcut(InstallContext& ctx, Backups& backups, const ShortcutEntry& e) {
    const std::string location = TrimLocation(e.location);
    const std::string placed = ReplaceShellFolderWords(location, ctx.Setup().shellFolders);
    if (placed.empty()) return;  // the shell folder it names is unknown here
    const std::string folder = ShortcutFolder(ctx.Expand(placed));
    // A location that names no shell folder and no full path would be taken
    // from the current folder, which the project does not name.
    if (folder.empty() || !util::text::IsFullPath(folder)) return;
    const std::string name = ctx.Expand(e.name);
    const std::string target = ctx.Expand(e.target);

    // The uninstaller removes a logged group when it is empty: a shell
    // folder itself (Startup, Favorites...) is never one.
    std::vector<std::string> made;
    if (CreatesGroupFolder(location, name) && !IsShellFolder(folder, ctx.Setup().shellFolders) &&
        CreateDirectoryPath(folder, &made))
        LogFoldersMade(ctx, folder, made);
    // A web address gets an internet shortcut beside its link.
    if (util::text::IsWebAddress(target)) {
        const std::string urlPath = folder + name + ".url";
        PlaceShortcut(ctx, backups, urlPath, [&] { return shelllink::SaveInternetShortcut(urlPath, target); });
    }

    shelllink::LinkFields link;
    link.target = target;
    link.arguments = ctx.Expand(e.arguments);
    link.description = ctx.Expand(e.description);
    link.workingFolder = ctx.Expand(e.workingFolder);
    link.showCommand = ShowCommandOf(e.windowState);
    if (!e.iconFile.empty()) link.iconFile = InstallShippedFile(ctx, ctx.Expand(e.iconFile));
    link.iconIndex = e.iconIndex;
    const std::string linkPath = folder + name + ".lnk";
    PlaceShortcut(ctx, backups, linkPath, [&] { return shelllink::SaveLink(linkPath, link); });
}

}  // namespace

ActionResult CreateShortcuts(InstallContext& context) {
    const std::string& ini = context.Setup().settingsPath;
    const int total = core::settings::ReadInstallListCount(ini, keys::kSection, core::settings::kShortValueSize);
    Backups backups{{UninstallFolderOf(context), context.Setup().values.productCode}, 0};
    for (int i = 0; i < total; ++i) {
        const ShortcutEntry entry = ReadEntry(ini, i);
        if (context.Setup().features.IsExcluded(entry.feature)) continue;
        CreateShortcut(context, backups, entry);
    }
    return ActionResult::Continue;
}

}  // namespace install
