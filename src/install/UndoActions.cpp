#include "install/UndoActions.h"

#include <cstring>
#include <iterator>

namespace install {

namespace {

void NotYetBuilt(UndoContext&) {}

// The program the product asks for runs first, while everything it may
// need is still there; the registration goes last, so that a removal that
// stopped half-way can be started again from the list of programs.
const UndoAction kUndoActions[] = {
    {"RunUninstallTimeProgram", std::nullopt, &NotYetBuilt},
    {"RemoveServices", std::nullopt, &NotYetBuilt},
    {"RemoveShortcuts", std::nullopt, &NotYetBuilt},
    {"RemoveFiles", std::nullopt, &NotYetBuilt},
    {"RestoreEnvironment", std::nullopt, &NotYetBuilt},
    {"RemoveRegistryValues", std::nullopt, &NotYetBuilt},
    {"UnregisterAssociations", std::nullopt, &NotYetBuilt},
    {"RemoveFolders", std::nullopt, &NotYetBuilt},
    {"UnregisterUninstall", std::nullopt, &NotYetBuilt},
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
