// NT services registered with the service control manager, in preview runs
// too; a failure asks the user to retry, ignore or cancel.
#pragma once

#include "install/InstallContext.h"

namespace install {

ActionResult InstallServices(InstallContext& context);

}  // namespace install
