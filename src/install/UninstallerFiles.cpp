#include "install/UninstallerFiles.h"

#include <windows.h>

#include "core/FileList.h"
#include "core/Trace.h"
#include "core/WorkingFolder.h"

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

bool IsExistingFile(const std::string& path) {
    if (path.empty()) return false;
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool CopyReplacing(const std::string& source, const std::string& target) {
    if (CopyFileA(source.c_str(), target.c_str(), FALSE)) return true;
    core::trace::Failure("CopyFileA", GetLastError());
    return false;
}

}  // namespace install
