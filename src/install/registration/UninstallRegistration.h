// The entry in the platform's list of programs, the uninstaller and its
// resources, and the live-update files.
#pragma once

#include "install/InstallContext.h"

namespace install {

ActionResult RegisterUninstall(InstallContext& context);

}  // namespace install
