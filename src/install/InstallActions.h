// The installation as a table of actions. Each row names an action, the
// status text shown when it starts, whether it runs in preview mode, the
// function that performs it and the undo step that takes it back. The run
// walks the table forwards; removal and rollback run the undo steps
// (UndoActions.h) over what the uninstall log recorded, so no undo is written
// twice. A new kind of installation item is one more row and one file of its
// own under install/.
#pragma once

#include <cstddef>
#include <optional>

#include "core/Messages.h"
#include "install/InstallContext.h"

namespace install {

using ActionFunction = ActionResult (*)(InstallContext& context);

struct InstallAction {
    const char* name;                      // "InstallFiles"
    std::optional<core::MessageId> status; // shown when the action's turn comes, even in preview
    bool runsInPreview;                    // preview runs show the steps without changing the machine
    ActionFunction run;
    const char* inverse;                   // its undo step (UndoActions.h), or nullptr when nothing is left to undo
};

// The rows in the order the run performs them.
const InstallAction* InstallActions(size_t& count);

// Walks the table forwards: shows each row's status, runs the row unless
// preview mode skips it, and stops at the first row that says Stop.
ActionResult RunInstallActions(InstallContext& context);

}  // namespace install
