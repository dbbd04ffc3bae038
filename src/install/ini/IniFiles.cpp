#include "install/ini/IniFiles.h"

#include <windows.h>

#include <cstring>
#include <optional>
#include <vector>

#include "core/Folders.h"
#include "core/Settings.h"
#include "core/Trace.h"
#include "install/files/FileBackup.h"
#include "install/files/FileRules.h"
#include "install/files/ReplacedFile.h"
#include "install/shared/SystemSettingRules.h"
#include "install/shared/EarlierOwnership.h"

namespace install {

namespace {

namespace info = core::keys::iniinfo;
namespace data = core::keys::inidata;

// The longest entry read back to be logged; a longer one is not written over.
constexpr size_t kMaxEntrySize = 1 << 20;

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
void KeepCopy(InstallContext& ctx, const std::string& path, fileops::BackupFolders& folders, unsigned& copies) {
    if (!core::folders::Exists(path)) return;
    const std::string folder = folders.For(path);
    if (folder.empty()) return;
    core::MovedAside copy{path, ""};
    do copy.backup = folder + "ini" + filerules::BackupName(++copies, path);
    while (core::folders::Exists(copy.backup));
    if (LogBackup(ctx, folders, copy)) fileops::CopyAside(copy);
}

// The declared INI files; a name declared again keeps its first folder. A
// file the run creates is logged as the run's (the uninstaller deletes it
// once its entries are gone); a file that is there is the user's or another
// program's and only its entries are the run's.
std::vector<IniFile> DeclareIniFiles(InstallContext& ctx) {
    const std::string& settings = ctx.Setup().settingsPath;
    std::vector<IniFile> files;
    unsigned copies = 0;
    fileops::BackupFolders backupFolders(UninstallFolderOf(ctx), ctx.Setup().values.productCode);
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
        const std::string& path = files.back().path;
        if (!core::folders::Exists(path)) ctx.Log(core::LogKind::IniFile, path);
        else if (ctx.EarlierRunOwned(core::LogKind::IniFile, path)) LogClaim(ctx, core::LogKind::IniFile, path);
        KeepCopy(ctx, path, backupFolders, copies);
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

// The entry as an INI reader finds it: nullopt inside when it is not there;
// nullopt outside when it is too long to be read back whole (and so to be
// put back).
std::optional<std::optional<std::string>> ReadEntry(const std::string& path, const std::string& section,
                                                    const std::string& key) {
    static const char kAbsent[] = "\x01\x02" "absent";
    std::vector<char> buffer(4096);
    for (;;) {
        const DWORD length = GetPrivateProfileStringA(section.c_str(), key.c_str(), kAbsent, buffer.data(),
                                                      static_cast<DWORD>(buffer.size()), path.c_str());
        if (length + 1 < buffer.size()) {
            const std::string text(buffer.data(), length);
            return text == kAbsent ? std::optional<std::string>() : std::optional<std::string>(text);
        }
        if (buffer.size() >= kMaxEntrySize) return std::nullopt;
        buffer.resize(buffer.size() * 4);
    }
}

bool SectionExists(const std::string& path, const std::string& section) {
    for (const std::string& name : IniSectionNames(path))
        if (SameName(name, section)) return true;
    return false;
}

// Logs what the entry held before the run writes it: the record an earlier
// run of the product made for it (the first state stays the one put back),
// or the state now. False when the write would change nothing the run may
// claim, or the entry cannot be logged: it is then not written.
bool LogEntryBefore(InstallContext& ctx, const std::string& path, const systemrules::IniEntryPath& parts,
                    const std::string& value) {
    core::IniEntry entry;
    entry.path = path;
    entry.section = parts.section;
    entry.key = parts.key;
    for (const core::LogRecord& earlier : ctx.EarlierLogged()) {
        core::IniEntry had;
        if (earlier.kind == core::LogKind::IniValue && core::ParseIniEntry(earlier.value, had) &&
            SameName(had.path, path) && SameName(had.section, parts.section) && SameName(had.key, parts.key)) {
            LogClaim(ctx, core::LogKind::IniValue, earlier.value);
            return true;
        }
    }
    const std::optional<std::optional<std::string>> read = ReadEntry(path, parts.section, parts.key);
    if (!read) {
        core::trace::Value("INI entry refused, too long to be put back", path + "|" + parts.section + "|" + parts.key);
        return false;
    }
    const std::optional<std::string>& before = *read;
    if (before && *before == value) return false;  // as the run would write it: not the run's
    entry.before = before ? core::IniEntry::Before::Value
                          : SectionExists(path, parts.section) ? core::IniEntry::Before::SectionOnly
                                                               : core::IniEntry::Before::Nothing;
    entry.value = before.value_or(std::string());
    const std::string record = core::FormatIniEntry(entry);
    if (record.empty()) {
        core::trace::Value("INI entry refused, it cannot be logged", path + "|" + parts.section + "|" + parts.key);
        return false;
    }
    ctx.Log(core::LogKind::IniValue, record);
    return true;
}

}  // namespace

std::vector<std::string> IniSectionNames(const std::string& path) {
    std::vector<char> names(65536);
    const DWORD length = GetPrivateProfileSectionNamesA(names.data(), static_cast<DWORD>(names.size()), path.c_str());
    std::vector<std::string> sections;
    for (const char* name = names.data(); name < names.data() + length && *name; name += std::strlen(name) + 1)
        sections.emplace_back(name);
    return sections;
}

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
        if (!LogEntryBefore(ctx, file->path, *parts, value)) continue;
        if (!WritePrivateProfileStringA(parts->section.c_str(), parts->key.c_str(), value.c_str(),
                                        file->path.c_str()))
            core::trace::Failure("WritePrivateProfileStringA", file->path, GetLastError());
    }
    return ActionResult::Continue;
}

}  // namespace install
