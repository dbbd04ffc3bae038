#include "install/UndoActions.h"

#include <cstring>
#include <iterator>

#include "install/RemoveFiles.h"
#include "install/RemoveRegistry.h"
#include "install/RemoveServices.h"
#include "install/ReplacedFiles.h"
#include "install/RestoreEnvironment.h"
#include "install/UninstallTimeProgram.h"
#include "install/UnregisterUninstall.h"

namespace install {

namespace {

using core::MessageId;

// The program the product asks for runs first, while everything it may
// need is still there; the registration goes last, so that a removal that
// stopped half-way can be started again from the list of programs.
// Services stop before their files are deleted; the files a run replaced
// come back once its own are gone; folders go once their files have.
const UndoAction kUndoActions[] = {
    {"RunUninstallTimeProgram", MessageId::StatusRunningUninstallProgram, &RunUninstallTimeProgram},
    {"RemoveServices", MessageId::StatusRemovingServices, &RemoveServices},
    {"RemoveShortcuts", MessageId::StatusRemovingShortcuts, &RemoveShortcuts},
    {"RemoveFiles", MessageId::StatusRemovingFiles, &RemoveFiles},
    {"RestoreReplacedFiles", MessageId::StatusRestoringFiles, &RestoreReplacedFiles},
    {"RestoreEnvironment", MessageId::StatusRestoringEnvironment, &RestoreEnvironment},
    {"RemoveRegistryValues", MessageId::StatusRemovingRegistry, &RemoveRegistryValues},
    {"UnregisterAssociations", MessageId::StatusRemovingAssociations, &UnregisterAssociations},
    {"RemoveFolders", MessageId::StatusRemovingFolders, &RemoveFolders},
    {"UnregisterUninstall", MessageId::StatusRemovingRegistration, &UnregisterUninstall},
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
    for (const UndoAction& action : kUndoActions) {
        if (action.status) context.SetStatus(core::EnglishText(*action.status));
        action.run(context);
    }
}

}  // namespace install
