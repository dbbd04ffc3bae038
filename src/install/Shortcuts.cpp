#include "install/Shortcuts.h"

namespace install {

ActionResult CreateShortcuts(InstallContext&) { return ActionResult::Continue; }

}  // namespace install
