// The end of a run: the working folder with the extracted payload goes.
#pragma once

#include "install/InstallContext.h"

namespace install {

// Removes the working folder unless merge modules still need it. Also called
// when a run is abandoned.
ActionResult RemoveTemporaryFiles(InstallContext& context);

}  // namespace install
