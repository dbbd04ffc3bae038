// Removal of what the file list and the shortcuts placed: shortcuts, files,
// and the folders the run made, with the remove-all choice.
#pragma once

#include "install/UndoContext.h"

namespace install {

// Deletes every logged shortcut (SHORTCUT).
void RemoveShortcuts(UndoContext& context);

// Deletes every logged file (FILE), except the uninstaller every product
// shares. What is in use goes at the next restart (RestartNeeded); what
// cannot be deleted is reported LeftOver.
void RemoveFiles(UndoContext& context);

// With REMOVEALL "Yes", deletes the installation folder (the first DIR)
// with everything in it, when undorules::MayRemoveWholeFolder allows it.
// Then removes every logged folder (DIR) that is empty, the deepest first.
// A folder that still holds what the log does not name stays and is not
// reported: that content is the user's.
void RemoveFolders(UndoContext& context);

}  // namespace install
