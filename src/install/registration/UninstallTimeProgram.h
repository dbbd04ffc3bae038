// The program the uninstaller runs before it removes anything: copied into
// the uninstall folder right after the file list is loaded (in preview runs
// too) and recorded in the log with its command line, with the remove-all
// choice; run from there at removal.
#pragma once

#include "install/InstallContext.h"
#include "install/UndoContext.h"

namespace install {

ActionResult RegisterUninstallTimeProgram(InstallContext& context);

// Runs each logged program (RUN3RD, a file name in the uninstall folder)
// with the command line the next RUN3RDCMD gives, and waits until it has
// ended. A program that is missing or does not start is passed over: it is
// no part of what was installed.
void RunUninstallTimeProgram(UndoContext& context);

}  // namespace install
