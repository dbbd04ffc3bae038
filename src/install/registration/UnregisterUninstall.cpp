#include "install/registration/UnregisterUninstall.h"

#include <windows.h>

#include "core/Folders.h"
#include "core/Registry.h"
#include "core/Trace.h"
#include "core/UninstallKey.h"
#include "install/files/FileRemoval.h"
#include "install/shared/UndoRules.h"
#include "util/Text.h"

namespace install {

namespace {

// Whether the folder's last part is the product code: the uninstall folder
// is named after the product, and no other folder is taken for it.
bool IsNamedAfter(const std::string& folder, const std::string& productCode) {
    const std::string comparable = undorules::ComparableFolder(folder, GetACP());
    const std::string ending = "\\" + undorules::ComparableFolder(productCode, GetACP());
    return comparable.size() > ending.size() &&
           comparable.compare(comparable.size() - ending.size(), ending.size(), ending) == 0;
}

// Everything in `folder` but its sub-folder `kept`.
void RemoveAllBut(const std::string& folder, const std::string& kept, LinkGuard& guard) {
    WIN32_FIND_DATAA entry;
    const HANDLE find = FindFirstFileA((util::text::WithTrailingBackslash(folder) + "*").c_str(), &entry);
    if (find == INVALID_HANDLE_VALUE) return;
    std::vector<std::string> names;
    do names.push_back(entry.cFileName);
    while (FindNextFileA(find, &entry));
    FindClose(find);
    for (const std::string& name : names) {
        if (name == "." || name == ".." || util::text::EqualsIgnoringAsciiCase(name, kept)) continue;
        const std::string path = util::text::WithTrailingBackslash(folder) + name;
        if (core::folders::IsFile(path)) RemoveFileNow(path);
        else RemoveFolderTree(path, guard);
    }
}

// Only the product's own uninstall folder, never one the system owns.
void RemoveUninstallFolder(UndoContext& context) {
    const UndoSetup& setup = context.Setup();
    const std::string folder = ResolvedFolder(setup.uninstallFolder);
    std::vector<std::string> kept;
    for (const std::string& k : setup.protectedFolders) kept.push_back(ResolvedFolder(k));
    if (setup.uninstallFolder.empty() || !IsNamedAfter(folder, setup.productCode) ||
        !undorules::IsRemovableTree(folder, kept, GetACP())) {
        core::trace::Value("uninstall folder kept", setup.uninstallFolder);
        return;
    }
    LinkGuard guard({folder});
    const std::string backups = util::text::WithTrailingBackslash(folder) + "Backup";
    if (core::folders::HoldsAnything(backups)) {
        // A file moved aside whose record was lost (the machine went down
        // between the two) was never put back: it is somebody's, and stays.
        core::trace::Value("backups not put back kept", backups);
        RemoveAllBut(folder, "Backup", guard);
        return;
    }
    const RemovalOutcome outcome = RemoveFolderTree(folder, guard);
    if (outcome == RemovalOutcome::AtRestart) context.RestartNeeded(setup.uninstallFolder);
    else if (outcome == RemovalOutcome::Failed) core::trace::Value("uninstall folder not removed", folder);
}

}  // namespace

void UnregisterUninstall(UndoContext& context) {
    const std::string& productCode = context.Setup().productCode;
    if (context.AnythingLeftOver() || productCode.empty()) {
        core::trace::Value("uninstall registration kept", productCode);
        return;
    }
    const std::string key = core::uninstallkey::KeyPath(productCode);
    const HKEY root = core::registry::RootFromName(core::scope::UninstallRootName(context.Setup().scope));
    if (!core::registry::DeleteKeyTree(root, key))
        core::trace::Value("uninstall key not removed", key);
    RemoveUninstallFolder(context);
}

}  // namespace install
