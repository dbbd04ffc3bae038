// Registry keys created and values (text, double word, binary) written.
#pragma once

#include "install/InstallContext.h"

namespace install {

ActionResult WriteRegistryValues(InstallContext& context);

}  // namespace install
