// Removal as a table of undo steps, in the order a removal performs them
// (declared, with the record kinds each consumes, in ActionTableRules.h).
// A step undoes the log records of its kinds, the newest first, so the
// uninstaller and a rollback replay one log the same way. Each step advances
// the progress once per record it handles.
#pragma once

#include <cstddef>

#include "install/UndoContext.h"

namespace install {

using UndoFunction = void (*)(UndoContext& context);

struct UndoAction {
    const char* name;  // "RemoveFiles", as the declarations name it
    UndoFunction run;
};

// The steps' functions in the order a removal performs them.
const UndoAction* UndoActions(size_t& count);

// The step of that name, or null.
const UndoAction* FindUndoAction(const char* name);

// Runs every declared step in order, showing its status as its turn comes.
void RunUndoActions(UndoContext& context);

}  // namespace install
