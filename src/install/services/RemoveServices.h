// Removal of the services the run created.
#pragma once

#include "install/UndoContext.h"

namespace install {

// Stops and deletes every logged service (NTSERVICE), the newest first. A
// service that goes only once the system restarts is reported
// RestartNeeded, one that stays LeftOver.
void RemoveServices(UndoContext& context);

}  // namespace install
