#include "install/InstallActions.h"

#include <cstring>
#include <iterator>

#include "core/Trace.h"
#include "core/TraceNames.h"
#include "install/ActionTableRules.h"
#include "install/associations/Associations.h"
#include "install/environment/Environment.h"
#include "install/files/FilePhase.h"
#include "install/ini/IniFiles.h"
#include "install/registration/UninstallRegistration.h"
#include "install/registration/UninstallTimeProgram.h"
#include "install/registry/RegistryValues.h"
#include "install/services/Services.h"
#include "install/shortcuts/Shortcuts.h"
#include "install/TemporaryFiles.h"

namespace install {

namespace {

// The function behind each declared action, in the declarations' order (a
// Windows test holds the two equal). The files the run replaced are deleted
// by the engine once every row ran and none marked the run abandoned (a
// rollback puts them back until then).
const InstallAction kActions[] = {
    {"LoadFileData", &LoadFileData},
    {"RegisterUninstallTimeProgram", &RegisterUninstallTimeProgram},
    {"InstallFiles", &InstallFiles},
    {"CreateShortcuts", &CreateShortcuts},
    {"WriteIniFiles", &WriteIniFiles},
    {"WriteRegistryValues", &WriteRegistryValues},
    {"RegisterAssociations", &RegisterAssociations},
    {"WriteEnvironment", &WriteEnvironment},
    {"InstallServices", &InstallServices},
    {"RegisterUninstall", &RegisterUninstall},
    {"RemoveTemporaryFiles", &RemoveTemporaryFiles},
};

const InstallAction* FindAction(const char* name) {
    for (const InstallAction& action : kActions)
        if (std::strcmp(action.name, name) == 0) return &action;
    return nullptr;
}

// Records the action wrote from `from` on whose kind it does not declare.
void TraceUndeclared(const tables::ActionRow& row, const std::vector<core::LogRecord>& logged, size_t from) {
    for (size_t i = from; i < logged.size(); ++i) {
        bool declared = false;
        for (core::LogKind kind : row.logs) declared = declared || kind == logged[i].kind;
        if (!declared)
            core::trace::Value(core::tracenames::kUndeclaredRecord, std::string(row.name) + " " + logged[i].key);
    }
}

}  // namespace

const InstallAction* InstallActions(size_t& count) {
    count = std::size(kActions);
    return kActions;
}

ActionResult RunInstallActions(InstallContext& context) {
    const bool preview = context.Setup().preview;
    for (const tables::ActionRow& row : tables::Actions()) {
        if (row.status) context.SetStatus(core::EnglishText(*row.status));
        if (preview && !row.runsInPreview) continue;
        core::trace::Value(core::tracenames::kInstallAction, row.name);
        const InstallAction* action = FindAction(row.name);
        if (!action) {
            core::trace::Value("install action without a function", row.name);
            continue;
        }
        const size_t before = context.Logged().size();
        const ActionResult result = action->run(context);
        TraceUndeclared(row, context.Logged(), before);
        if (result == ActionResult::Stop) return ActionResult::Stop;
    }
    return ActionResult::Continue;
}

}  // namespace install
