#include "install/UninstallRegistration.h"

namespace install {

ActionResult RegisterUninstall(InstallContext&) { return ActionResult::Continue; }

}  // namespace install
