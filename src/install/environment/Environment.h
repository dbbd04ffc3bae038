// User and system environment variables set, appended to or removed, and
// the change announced to running programs.
#pragma once

#include "install/InstallContext.h"

namespace install {

ActionResult WriteEnvironment(InstallContext& context);

}  // namespace install
