#include "install/ini/IniFiles.h"

#include <windows.h>

#include <vector>

#include "core/Folders.h"
#include "core/Settings.h"
#include "core/Trace.h"
#include "install/files/FileBackup.h"
#include "install/files/FileRules.h"
#include "install/shared/SystemSettingRules.h"

namespace install {

namespace {

namespace info = core::keys::iniinfo;
namespace data = core::keys::inidata;

struct IniFile {
    std::string name;  // as the entries' tree paths name it
    std::string path;
};

bool SameName(const std::string& a, const std::string& b) {
    return CompareStringA(LOCALE_INVARIANT, NORM_IGNORECASE, a.c_str(), -1, b.c_str(), -1) ==
           CSTR_EQUAL;
}

// A declared file that exists is written into in place: a copy of it waits
// in the backup folder of its volume, logged as BACKUP, so that a rollback
// puts it back as it was (its FILE line removes the written one first).
void KeepCopy(InstallContext& ctx, const std::string& path, unsigned& copies) {
    if (!core::folders::Exists(path)) return;
    const std::string uninstallFolder = ctx.Expand(core::kUninstallFolder);
    const std::string folder =
        filerules::BackupFolder(fileops::VolumeOf(path), fileops::VolumeOf(uninstallFolder), uninstallFolder,
                                ctx.Setup().values.productCode);
    if (folder.empty()) return;
    core::MovedAside copy{path, ""};
    do copy.backup = folder + "ini" + filerules::BackupName(++copies, path);
    while (core::folders::Exists(copy.backup));
    ctx.Log(core::LogKind::Backup, core::FormatMovedAside(copy));
    fileops::CopyAside(copy);
}

// The declared INI files, each logged once so that the uninstaller removes
// it; a name declared again keeps its first folder.
std::vector<IniFile> DeclareIniFiles(InstallContext& ctx) {
    const std::string& settings = ctx.Setup().settingsPath;
    std::vector<IniFile> files;
    unsigned copies = 0;
    const int total = core::settings::ReadInstallListCount(settings, info::kSection,
                                                           core::settings::kShortValueSize);
    for (int i = 0; i < total; ++i) {
        const std::string name = systemrules::IniFileName(
            core::settings::ReadListField(settings, info::kSection, info::kTreeName, i));
        if (name.empty()) continue;
        bool known = false;
        for (const IniFile& f : files) known = known || f.name == name;
        if (known) continue;
        const std::string folder =
            core::settings::ReadListField(settings, info::kSection, info::kFolder, i);
        files.push_back({name, ctx.Expand(folder + "\\" + name)});
        ctx.Log(core::LogKind::File, files.back().path);
        KeepCopy(ctx, files.back().path, copies);
    }
    return files;
}

// The file an entry writes into: the declared file its tree path names, or,
// for a path that names none exactly, the last declared file whose name
// occurs in it. Null when no declared file fits.
const IniFile* TargetOf(const std::vector<IniFile>& files, const std::string& treePath,
                        const std::string& fileComponent) {
    for (auto f = files.rbegin(); f != files.rend(); ++f)
        if (SameName(f->name, fileComponent)) return &*f;
    for (auto f = files.rbegin(); f != files.rend(); ++f)
        if (treePath.find(f->name) != std::string::npos) return &*f;
    return nullptr;
}

}  // namespace

ActionResult WriteIniFiles(InstallContext& ctx) {
    const std::vector<IniFile> files = DeclareIniFiles(ctx);
    const std::string& settings = ctx.Setup().settingsPath;
    const int total = core::settings::ReadInstallListCount(settings, data::kSection);
    for (int i = 0; i < total; ++i) {
        const std::string tree =
            core::settings::ReadListField(settings, data::kSection, data::kTreePath, i);
        const std::optional<systemrules::IniEntryPath> parts = systemrules::SplitIniEntryPath(tree);
        if (!parts) continue;
        const IniFile* file = TargetOf(files, tree, parts->file);
        if (!file) continue;
        // The value is written as the project gives it, placeholders and all.
        const std::string value =
            core::settings::ReadListField(settings, data::kSection, data::kValue, i);
        if (!WritePrivateProfileStringA(parts->section.c_str(), parts->key.c_str(), value.c_str(),
                                        file->path.c_str()))
            core::trace::Failure("WritePrivateProfileStringA", file->path, GetLastError());
    }
    return ActionResult::Continue;
}

}  // namespace install
