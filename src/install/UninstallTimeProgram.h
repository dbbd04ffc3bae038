// The program the uninstaller runs before it removes anything: copied into
// the uninstall folder right after the file list is loaded (in preview runs
// too) and recorded in the log with its command line, with the remove-all
// choice.
#pragma once

#include "install/InstallContext.h"

namespace install {

ActionResult RegisterUninstallTimeProgram(InstallContext& context);

}  // namespace install
