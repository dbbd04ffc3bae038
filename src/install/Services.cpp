#include "install/Services.h"

namespace install {

ActionResult InstallServices(InstallContext&) { return ActionResult::Continue; }

}  // namespace install
