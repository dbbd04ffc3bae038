// File associations: the extension's class key, the file type's description,
// icon and open command. What existed before the run is recorded so that it
// can be put back.
#pragma once

#include "install/InstallContext.h"

namespace install {

ActionResult RegisterAssociations(InstallContext& context);

}  // namespace install
