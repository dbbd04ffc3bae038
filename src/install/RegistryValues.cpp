#include "install/RegistryValues.h"

namespace install {

ActionResult WriteRegistryValues(InstallContext&) { return ActionResult::Continue; }

}  // namespace install
