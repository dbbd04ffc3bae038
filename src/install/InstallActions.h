// The installation as a table of actions, declared with their status text,
// whether they run in preview mode, the record kinds they may log and the
// undo steps that take them back in ActionTableRules.h; this file binds each
// declared action to its function. The run walks the table forwards;
// removal and rollback run the undo steps (UndoActions.h) over what the
// uninstall log recorded, so no undo is written twice.
#pragma once

#include <cstddef>

#include "install/InstallContext.h"

namespace install {

using ActionFunction = ActionResult (*)(InstallContext& context);

struct InstallAction {
    const char* name;  // "InstallFiles", as the declarations name it
    ActionFunction run;
};

// The actions' functions in the order the run performs them.
const InstallAction* InstallActions(size_t& count);

// Walks the declared actions forwards: shows each row's status, runs the row
// unless preview mode skips it, and stops at the first row that says Stop.
// A record of a kind its action does not declare is still kept (it is the
// run's) and traced as undeclared: the tables then need mending.
ActionResult RunInstallActions(InstallContext& context);

}  // namespace install
