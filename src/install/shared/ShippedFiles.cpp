#include "install/shared/ShippedFiles.h"

#include <windows.h>

#include "core/FileList.h"
#include "core/Folders.h"
#include "core/Trace.h"
#include "core/WorkingFolder.h"
#include "util/Text.h"

namespace install {

std::string ProjectFile(const InstallContext& context, const std::string& name) {
    if (name.empty()) return std::string();
    const EngineSetup& s = context.Setup();
    return core::ProjectFilePath(s.diskImage,
                                 core::PayloadFolder(s.diskImage, s.sourceFolder, s.workingFolder),
                                 name);
}

std::string NamedFile(const InstallContext& context, const std::string& setting) {
    if (setting.find('<') != std::string::npos) return context.Expand(setting);
    return ProjectFile(context, FileNameOfPath(setting));
}

std::string FileNameOfPath(const std::string& path) {
    return core::filelist::FileNameOf(path, GetACP());
}

bool CopyReplacing(const std::string& source, const std::string& target) {
    if (CopyFileA(source.c_str(), target.c_str(), FALSE)) return true;
    core::trace::Failure("CopyFileA", source, GetLastError());
    return false;
}

std::string InstallShippedFile(InstallContext& context, const std::string& path) {
    const std::string name = FileNameOfPath(path);
    const std::string source = ProjectFile(context, name);
    if (name.empty() || !core::folders::IsFile(source)) return std::string();
    const std::string copy = util::text::WithTrailingBackslash(context.Expand("<InstallDir>")) + name;
    if (!CopyReplacing(source, copy)) return std::string();
    context.Log(core::LogKind::File, copy);
    return copy;
}

}  // namespace install
