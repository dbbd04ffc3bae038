#include "install/IniFiles.h"

namespace install {

ActionResult WriteIniFiles(InstallContext&) { return ActionResult::Continue; }

}  // namespace install
