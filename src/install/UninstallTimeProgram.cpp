#include "install/UninstallTimeProgram.h"

#include "core/Settings.h"
#include "install/UninstallerFiles.h"

namespace install {

namespace {

namespace appinfo = core::keys::appinfo;

std::string ReadAppInfo(const InstallContext& context, const char* key) {
    return core::settings::Read(context.Setup().settingsPath, appinfo::kSection, key);
}

// The uninstaller runs the program from the uninstall folder, where the run
// puts a copy of its own: the payload is gone by then. An empty setting names
// no program (the payload folder itself would "exist").
void PlaceProgram(InstallContext& context) {
    const std::string program = NamedFile(context, ReadAppInfo(context, appinfo::kUninstallExecute));
    if (!IsExistingFile(program)) return;
    const std::string name = FileNameOfPath(program);
    CopyReplacing(program, context.Expand(core::kUninstallFolder) + name);
    context.Log(core::LogKind::Run3rd, name);
    context.Log(core::LogKind::Run3rdCmd,
                context.Expand(ReadAppInfo(context, appinfo::kUninstallCmdLine)));
}

}  // namespace

ActionResult RegisterUninstallTimeProgram(InstallContext& context) {
    PlaceProgram(context);
    if (ReadAppInfo(context, appinfo::kUninstallRemoveAll) == "No")
        context.Log(core::LogKind::RemoveAll, "Yes");
    return ActionResult::Continue;
}

}  // namespace install
