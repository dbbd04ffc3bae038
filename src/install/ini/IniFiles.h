// Entries written into INI files, each file logged once so that the
// uninstaller removes it.
#pragma once

#include "install/InstallContext.h"

namespace install {

ActionResult WriteIniFiles(InstallContext& context);

}  // namespace install
