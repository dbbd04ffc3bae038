#include "install/Associations.h"

namespace install {

ActionResult RegisterAssociations(InstallContext&) { return ActionResult::Continue; }

}  // namespace install
