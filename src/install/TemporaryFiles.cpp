#include "install/TemporaryFiles.h"

#include "core/Messages.h"
#include "core/ShellFileOps.h"

namespace install {

ActionResult RemoveTemporaryFiles(InstallContext& context) {
    context.SetStatus(core::EnglishText(core::MessageId::StatusRemovingTemporary));
    if (context.Setup().mergeModulesPending) return ActionResult::Continue;
    core::shellops::DeleteFolderIfPresent(context.Setup().workingFolder);
    return ActionResult::Continue;
}

}  // namespace install
