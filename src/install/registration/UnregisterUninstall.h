// The last step of a removal: the product's entry in the list of programs
// and its uninstall folder with the log.
#pragma once

#include "install/UndoContext.h"

namespace install {

// When the removal completed (nothing was reported LeftOver), deletes the
// product's uninstall key (core/UninstallKey.h, in the hive of its scope,
// with everything in it) and the uninstall
// folder with the log, its theme and programs; what is in use there goes
// at the next restart. A removal that left something keeps both, so that
// the product stays listed and its removal can be started again: a second
// run finds what the first removed missing, which counts as removed.
void UnregisterUninstall(UndoContext& context);

}  // namespace install
