// Removal as a table of undo steps, in the order a removal performs them.
// Each install action names its undo step (see InstallActions.h); a step
// undoes the log records of its kinds, the newest first, so the uninstaller
// and a rollback replay one log the same way. Each step advances the
// progress once per record it handles; TOTALFILE and unknown records belong
// to no step.
#pragma once

#include <cstddef>
#include <optional>

#include "core/Messages.h"
#include "install/UndoContext.h"

namespace install {

using UndoFunction = void (*)(UndoContext& context);

struct UndoAction {
    const char* name;                       // "RemoveFiles", as the install table names it
    std::optional<core::MessageId> status;  // shown when the step's turn comes
    UndoFunction run;
};

// The steps in the order a removal performs them.
const UndoAction* UndoActions(size_t& count);

// The step of that name, or null.
const UndoAction* FindUndoAction(const char* name);

// Runs every step in order.
void RunUndoActions(UndoContext& context);

}  // namespace install
