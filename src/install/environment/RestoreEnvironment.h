// Removal of what the environment action changed.
#pragma once

#include "install/UndoContext.h"

namespace install {

// Deletes every variable the run set (REGVAL under one of the two
// environment keys) and takes every item the run appended (ENVAPPEND) out
// of its variable again, deleting the variable when nothing else is left in
// it; the newest record first. A variable the run created for the project
// to keep (ENVKEPT) goes only in a rollback. Running programs then learn that the
// environment changed.
void RestoreEnvironment(UndoContext& context);

}  // namespace install
