// NT services registered with the service control manager, in preview runs
// too; a failure asks the user to retry, ignore or cancel.
#pragma once

#include "install/InstallContext.h"

namespace install {

// Creates the services the project lists, in order, on every system but the
// ones without services ("95", "98", "98SE", "ME"), and logs each created
// service's name once. A service the manager refuses (one that exists
// already) is put to the user: Retry tries it again, Ignore goes on with the
// next one, Cancel marks the run abandoned and goes on with the next one too.
// The run always continues with the next action.
ActionResult InstallServices(InstallContext& context);

}  // namespace install
