#include "install/UninstallTimeProgram.h"

namespace install {

ActionResult RegisterUninstallTimeProgram(InstallContext&) { return ActionResult::Continue; }

}  // namespace install
