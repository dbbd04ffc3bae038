#include "install/InstallActions.h"

#include <iterator>

#include "install/FilePhase.h"
#include "install/TemporaryFiles.h"

namespace install {

namespace {

using core::MessageId;

// Order matters: the file list is loaded before anything is placed, and the
// working folder goes last, once nothing reads payload files any more.
const InstallAction kActions[] = {
    {"LoadFileData", MessageId::StatusLoadingData, true, &LoadFileData, "RemoveFolders"},
    {"RegisterUninstallTimeProgram", std::nullopt, true, &NotYetBuilt, "RunUninstallTimeProgram"},
    {"InstallFiles", MessageId::StatusCopyingFiles, false, &InstallFiles, "RemoveFiles"},
    {"CreateShortcuts", MessageId::StatusCreatingShortcuts, false, &NotYetBuilt, "RemoveShortcuts"},
    {"WriteSystemSettings", MessageId::StatusSettingSystem, false, &NotYetBuilt, "RemoveSystemSettings"},
    {"InstallServices", std::nullopt, true, &NotYetBuilt, "RemoveServices"},
    {"RegisterUninstall", MessageId::StatusFinishing, false, &NotYetBuilt, "UnregisterUninstall"},
    {"RemoveTemporaryFiles", std::nullopt, false, &RemoveTemporaryFiles, nullptr},
};

}  // namespace

const InstallAction* InstallActions(size_t& count) {
    count = std::size(kActions);
    return kActions;
}

ActionResult RunInstallActions(InstallContext& context) {
    const bool preview = context.Setup().preview;
    for (const InstallAction& action : kActions) {
        if (action.status) context.SetStatus(core::EnglishText(*action.status));
        if (preview && !action.runsInPreview) continue;
        if (action.run(context) == ActionResult::Stop) return ActionResult::Stop;
    }
    return ActionResult::Continue;
}

ActionResult NotYetBuilt(InstallContext&) { return ActionResult::Continue; }

}  // namespace install
