#include "install/Environment.h"

namespace install {

ActionResult WriteEnvironment(InstallContext&) { return ActionResult::Continue; }

}  // namespace install
