#include "install/InstallActions.h"

#include <iterator>

#include "core/Trace.h"
#include "core/TraceNames.h"
#include "install/Associations.h"
#include "install/Environment.h"
#include "install/FilePhase.h"
#include "install/IniFiles.h"
#include "install/RegistryValues.h"
#include "install/Services.h"
#include "install/Shortcuts.h"
#include "install/TemporaryFiles.h"
#include "install/UninstallRegistration.h"
#include "install/UninstallTimeProgram.h"

namespace install {

namespace {

using core::MessageId;

// Order matters: the file list is loaded before anything is placed, and the
// working folder goes last, once nothing reads payload files any more. The
// files the run replaced are deleted by the engine once every row ran and
// none marked the run abandoned (a rollback puts them back until then).
const InstallAction kActions[] = {
    {"LoadFileData", MessageId::StatusLoadingData, true, &LoadFileData, "RemoveFolders"},
    {"RegisterUninstallTimeProgram", std::nullopt, true, &RegisterUninstallTimeProgram, "RunUninstallTimeProgram"},
    {"InstallFiles", MessageId::StatusCopyingFiles, false, &InstallFiles, "RemoveFiles"},
    {"CreateShortcuts", MessageId::StatusCreatingShortcuts, false, &CreateShortcuts, "RemoveShortcuts"},
    {"WriteIniFiles", MessageId::StatusSettingSystem, false, &WriteIniFiles, "RemoveFiles"},
    {"WriteRegistryValues", std::nullopt, false, &WriteRegistryValues, "RemoveRegistryValues"},
    {"RegisterAssociations", std::nullopt, false, &RegisterAssociations, "UnregisterAssociations"},
    {"WriteEnvironment", std::nullopt, false, &WriteEnvironment, "RestoreEnvironment"},
    {"InstallServices", std::nullopt, true, &InstallServices, "RemoveServices"},
    {"RegisterUninstall", MessageId::StatusFinishing, false, &RegisterUninstall, "UnregisterUninstall"},
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
        core::trace::Value(core::tracenames::kInstallAction, action.name);
        if (action.run(context) == ActionResult::Stop) return ActionResult::Stop;
    }
    return ActionResult::Continue;
}

}  // namespace install
