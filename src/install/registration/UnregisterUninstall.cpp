#include "install/registration/UnregisterUninstall.h"

#include <windows.h>

#include "core/Registry.h"
#include "core/Trace.h"
#include "core/UninstallKey.h"
#include "install/files/FileRemoval.h"
#include "install/shared/UndoRules.h"

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
    if (!core::registry::DeleteKeyTree(HKEY_LOCAL_MACHINE, key))
        core::trace::Value("uninstall key not removed", key);
    RemoveUninstallFolder(context);
}

}  // namespace install
