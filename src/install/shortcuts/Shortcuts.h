// Program groups, .lnk shortcuts and .url internet shortcuts in the shell
// folders the project's locations name, with their icons copied into the
// installation directory.
#pragma once

#include "install/InstallContext.h"

namespace install {

ActionResult CreateShortcuts(InstallContext& context);

}  // namespace install
