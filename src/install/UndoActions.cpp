#include "install/UndoActions.h"

#include <cstring>
#include <iterator>

#include "core/Trace.h"
#include "install/ActionTableRules.h"
#include "install/environment/RestoreEnvironment.h"
#include "install/files/RemoveFiles.h"
#include "install/ini/RestoreIniFiles.h"
#include "install/files/ReplacedFiles.h"
#include "install/registration/UninstallTimeProgram.h"
#include "install/registration/UnregisterUninstall.h"
#include "install/registry/RemoveRegistry.h"
#include "install/services/RemoveServices.h"

namespace install {

namespace {

// The function behind each declared step, in the declarations' order (a
// Windows test holds the two equal).
const UndoAction kUndoActions[] = {
    {"RunUninstallTimeProgram", &RunUninstallTimeProgram},
    {"RemoveServices", &RemoveServices},
    {"RemoveShortcuts", &RemoveShortcuts},
    {"RemoveFiles", &RemoveFiles},
    {"RestoreIniFiles", &RestoreIniFiles},
    {"RestoreReplacedFiles", &RestoreReplacedFiles},
    {"RestoreEnvironment", &RestoreEnvironment},
    {"RemoveRegistryValues", &RemoveRegistryValues},
    {"UnregisterAssociations", &UnregisterAssociations},
    {"RemoveFolders", &RemoveFolders},
    {"UnregisterUninstall", &UnregisterUninstall},
};

}  // namespace

const UndoAction* UndoActions(size_t& count) {
    count = std::size(kUndoActions);
    return kUndoActions;
}

const UndoAction* FindUndoAction(const char* name) {
    for (const UndoAction& action : kUndoActions)
        if (name && std::strcmp(action.name, name) == 0) return &action;
    return nullptr;
}

void RunUndoActions(UndoContext& context) {
    for (const tables::UndoStepRow& step : tables::UndoSteps()) {
        if (step.status) context.SetStatus(core::EnglishText(*step.status));
        const UndoAction* action = FindUndoAction(step.name);
        if (!action) {
            core::trace::Value("undo step without a function", step.name);
            continue;
        }
        action->run(context);
    }
}

}  // namespace install
