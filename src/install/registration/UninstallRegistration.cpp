#include "install/registration/UninstallRegistration.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <optional>

#include "core/Folders.h"
#include "core/Registry.h"
#include "core/Settings.h"
#include "core/ShellFileOps.h"
#include "core/Trace.h"
#include "core/UninstallKey.h"
#include "install/files/FileBackup.h"
#include "install/files/SameFile.h"
#include "install/files/FileRules.h"
#include "install/files/FileVersion.h"
#include "install/files/ReplacedFile.h"
#include "install/registration/InstalledSize.h"
#include "install/registration/SetupCache.h"
#include "install/shared/DirectoryPath.h"
#include "install/shared/EarlierOwnership.h"
#include "install/shared/ShippedFiles.h"
#include "util/Text.h"

namespace install {

namespace {

namespace appinfo = core::keys::appinfo;
namespace liveupdate = core::keys::liveupdate;
namespace uninstallkey = core::uninstallkey;

// The list of programs shows at most this many characters of the source.
constexpr size_t kMaxInstallSource = 254;

// The process's current directory, cut to kMaxInstallSource characters.
std::string CurrentDirectory() {
    char buffer[MAX_PATH + 1] = "";
    const DWORD length = GetCurrentDirectoryA(sizeof buffer, buffer);
    if (length == 0 || length >= sizeof buffer) {
        core::trace::Failure("GetCurrentDirectoryA", GetLastError());
        return std::string();
    }
    return std::string(buffer, std::min<size_t>(length, kMaxInstallSource));
}

// Today's local date as the list of programs sorts it: "yyyymmdd".
std::string LocalDate() {
    SYSTEMTIME now;
    GetLocalTime(&now);
    char text[16];
    std::snprintf(text, sizeof text, "%04u%02u%02u", unsigned{now.wYear}, unsigned{now.wMonth},
                  unsigned{now.wDay});
    return text;
}

// One registration: the settings it reads and the product's key it writes.
// Every copy and write is tried once; a failure leaves that item out and the
// run goes on.
// Every value this action writes into the product's key. A run over the
// installed product clears these (and only these: a value an administrator
// added, such as SystemComponent, stays) before it writes its own.
constexpr const char* kRegistrationValues[] = {
    "DisplayName", "DisplayVersion", "Publisher", "Comments", "URLInfoAbout", "URLUpdateInfo", "HelpLink",
    "HelpTelephone", "LastInstallationPath", "InstallLocation", "ModifyPath", "UninstallString",
    "QuietUninstallString", "InstallSource", "NoModify", "NoRemove", "NoRepair", "DisplayIcon", "InstallDate",
    "EstimatedSize", "LVmode", "LVurl", "LVsilent", "UninstallExecute", "UninstallCmdLine", "UninstallRemoveAll",
};

bool IsRegistrationValue(const std::string& name) {
    for (const char* known : kRegistrationValues)
        if (util::text::EqualsIgnoringAsciiCase(name, known)) return true;
    return false;
}

class Registration {
public:
    explicit Registration(InstallContext& context)
        : ctx_(context),
          key_(uninstallkey::KeyPath(context.Setup().values.productCode)),
          rootName_(core::scope::UninstallRootName(context.Setup().scope)),
          root_(core::registry::RootFromName(rootName_)) {}

    void PlaceUninstaller();
    void PlaceLanguageFiles();
    void CreateKey();
    void InstallLiveUpdate();
    void PlaceUninstallerResources();
    void WriteDisplayValues();

private:
    std::string Setting(const char* section, const char* key) const {
        return core::settings::Read(ctx_.Setup().settingsPath, section, key);
    }
    std::string AppInfo(const char* key) const { return Setting(appinfo::kSection, key); }
    // Values go only under a key this run made sure of. The key path may
    // exceed 255 characters: a product code may be that long itself.
    void WriteText(const char* name, const std::string& value) {
        Write(name, REG_SZ, std::string(value.c_str(), value.size() + 1));
    }
    void WriteNumber(const char* name, DWORD value) {
        Write(name, REG_DWORD, std::string(reinterpret_cast<const char*>(&value), sizeof value));
    }
    void Write(const char* name, DWORD type, const std::string& bytes) {
        if (!keyReady_) return;
        if (!IsRegistrationValue(name)) core::trace::Value("registration value missing from the list", name);
        if (rewriting_) LogForRollback(ctx_, core::LogKind::RegVal, ValuePath(name));
        core::registry::WriteValue(root_, key_, name, type, bytes);
    }
    std::string ValuePath(const std::string& name) const { return rootName_ + "\\" + key_ + "\\" + name; }
    std::string Uninstaller() const { return ctx_.Expand(core::scope::UninstallerTemplate(ctx_.Setup().scope)); }
    std::string Command(const char* option) const {
        return core::scope::UninstallerCommand(ctx_.Setup().scope, Uninstaller(), option,
                                               ctx_.Setup().values.productCode);
    }
    void ClearEarlierValues();
    void WriteYesFlag(const char* name, const char* settingKey) {
        if (AppInfo(settingKey) == "Yes") WriteNumber(name, 1);
    }
    std::string CopyIntoInstallFolder(const std::string& source);
    void WriteDisplayIcon();

    InstallContext& ctx_;
    const std::string key_;
    const std::string rootName_;  // the hive of the run's scope
    const HKEY root_;
    bool keyReady_ = false;
    bool rewriting_ = false;  // the product was registered before the run
};

// The uninstaller travels in the payload; the registered command lines find
// it in the Windows folder, where every product for everyone shares it (a
// user's products share one below the user's local application data). One of the same
// or a newer version there stays (an older one would not know the log lines
// of the products that placed it); one replaced is moved aside first, for a
// rollback.
void Registration::PlaceUninstaller() {
    const std::string source = ProjectFile(ctx_, uninstallkey::kUninstallerName);
    if (!core::folders::IsFile(source)) return;
    const std::string shared = Uninstaller();
    CreateDirectoryPath(ctx_.Expand(core::scope::UninstallerFolderTemplate(ctx_.Setup().scope)));
    if (core::folders::IsFile(shared)) {
        // The copy an earlier setup placed from the same build: nothing to
        // do, and no version resource to read (that loads a library and maps
        // both programs, which shows in the setup's memory).
        if (fileops::HoldsSameBytes(shared, source)) return;
        const std::string there = ReadFileVersionText(shared);
        if (!filerules::ShouldReplaceByVersion(ReadFileVersionText(source), there)) {
            core::trace::Value("shared uninstaller of the same or a newer version kept", there);
            return;
        }
        fileops::BackupFolders folders(UninstallFolderOf(ctx_), ctx_.Setup().values.productCode);
        unsigned count = 0;
        core::MovedAside moved;
        if (!MoveAsideLogged(ctx_, folders, count, shared, moved)) {
            core::trace::Value("shared uninstaller kept, it cannot be moved aside", shared);
            return;
        }
        if (CopyReplacing(source, shared)) return;
        fileops::PutBack(moved);  // never left without one
        return;
    }
    CopyReplacing(source, shared);
}

// The uninstaller shows its messages and its page in the languages the setup used.
void Registration::PlaceLanguageFiles() {
    const std::string messages = ctx_.Setup().sourceFolder + "language.lan";
    if (core::folders::IsFile(messages))
        CopyReplacing(messages, UninstallFolderOf(ctx_) + "language.lan");
    const std::string& pages = ctx_.Setup().pageLanguageFile;
    if (!pages.empty())
        CopyReplacing(pages, UninstallFolderOf(ctx_) + uninstallkey::kPageLanguageFile);
}

// Without a product code the key would be the list of programs itself.
void Registration::CreateKey() {
    if (ctx_.Setup().values.productCode.empty()) return;
    if (core::registry::KeyExists(root_, key_)) ClearEarlierValues();
    keyReady_ = core::registry::EnsureKey(root_, key_);
}

// The registration of the product's earlier run is written anew as a whole:
// a value the earlier version wrote and this one does not (a help link, a
// flag) must not stay; one nobody of the product writes does. Its values wait in the log for a rollback, which
// puts the earlier registration back as it was.
void Registration::ClearEarlierValues() {
    rewriting_ = true;
    for (const std::string& name : core::registry::ValueNames(root_, key_)) {
        if (!IsRegistrationValue(name)) continue;
        const std::optional<core::registry::Value> value =
            core::registry::ReadWideValue(root_, key_, name);
        if (!value) continue;
        const std::string line = core::FormatPreviousValue({value->type, ValuePath(name), value->bytes, true});
        if (line.empty()) continue;  // not to be put back: it stays
        LogForRollback(ctx_, core::LogKind::RegPrev, line);
        core::registry::DeleteValue(root_, key_, name);
    }
}

void Registration::InstallLiveUpdate() {
    if (Setting(liveupdate::kSection, liveupdate::kEnabled) != "Yes") return;
    WriteText("LVmode", ctx_.Expand(Setting(liveupdate::kSection, liveupdate::kMode)));
    WriteText("LVurl", ctx_.Expand(Setting(liveupdate::kSection, liveupdate::kAddress)));
    WriteText("LVsilent", ctx_.Expand(Setting(liveupdate::kSection, liveupdate::kSilent)));
    const std::string target = Setting(liveupdate::kSection, liveupdate::kTargetFolder);
    const std::string folder =
        util::text::WithTrailingBackslash(ctx_.Expand(target.empty() ? "<Install Dir>" : target));
    for (const char* name : {"liveupdate.exe", "liveupdate.inf"}) {
        // Only a placed file is logged: the uninstaller would otherwise
        // delete a file of that name this run did not put there.
        if (CopyReplacing(ProjectFile(ctx_, name), folder + name))
            ctx_.Log(core::LogKind::File, folder + name);
    }
}

// Copies a file into the installation folder under its own name (shell
// file copy, quiet); the copy's path, or "" when the file was not placed.
std::string Registration::CopyIntoInstallFolder(const std::string& source) {
    if (!core::folders::IsFile(source)) return std::string();
    const std::string target = ctx_.Expand("<Install Dir>\\" + FileNameOfPath(source));
    if (core::shellops::CopyFiles(source, target, true)) return target;
    core::trace::Failure("SHFileOperationA", GetLastError());
    return std::string();
}

// The uninstaller draws its pages from the setup's theme and runs the
// project's uninstall-time program from the installation folder.
void Registration::PlaceUninstallerResources() {
    if (AppInfo(appinfo::kUninstallResources) != "Yes") return;
    std::string uninstallFolder = UninstallFolderOf(ctx_);
    if (!uninstallFolder.empty() && uninstallFolder.back() == '\\') uninstallFolder.pop_back();
    if (!core::shellops::CopyFolder(ctx_.Setup().sourceFolder + "theme", uninstallFolder, true))
        core::trace::Failure("SHFileOperationA", GetLastError());
    const std::string program =
        CopyIntoInstallFolder(NamedFile(ctx_, AppInfo(appinfo::kUninstallExecute)));
    if (!program.empty()) {
        WriteText("UninstallExecute", program);
        WriteText("UninstallCmdLine", AppInfo(appinfo::kUninstallCmdLine));
    }
    WriteText("UninstallRemoveAll", AppInfo(appinfo::kUninstallRemoveAll));
}

// The values the list of programs shows; without DisplayName the product is
// not listed.
void Registration::WriteDisplayValues() {
    if (AppInfo(appinfo::kDisplayRegistration) == "No") return;
    WriteText("DisplayName", AppInfo(appinfo::kProductName));
    WriteText("DisplayVersion", AppInfo(appinfo::kProductVersion));
    const struct { const char* name; const char* key; } optional[] = {
        {"Publisher", appinfo::kPublisher},     {"Comments", appinfo::kComments},
        {"URLInfoAbout", appinfo::kUrlInfoAbout}, {"URLUpdateInfo", appinfo::kUrlUpdateInfo},
        {"HelpLink", appinfo::kHelpLink},       {"HelpTelephone", appinfo::kHelpTelephone},
    };
    for (const auto& value : optional) {
        const std::string text = AppInfo(value.key);
        if (!text.empty()) WriteText(value.name, text);
    }
    const std::string installDir = ctx_.Expand("<InstallDir>");
    WriteText("LastInstallationPath", installDir);
    WriteText("InstallLocation", installDir);
    WriteText("ModifyPath", Command(uninstallkey::kModifyOption));
    WriteText("UninstallString", Command(uninstallkey::kRemoveOption));
    WriteText("QuietUninstallString", Command(uninstallkey::kSilentRemoveOption));
    WriteText("InstallSource", CurrentDirectory());
    WriteYesFlag("NoModify", appinfo::kNoModify);
    WriteYesFlag("NoRemove", appinfo::kNoRemove);
    WriteYesFlag("NoRepair", appinfo::kNoRepair);
    WriteDisplayIcon();
    WriteText("InstallDate", LocalDate());
    WriteNumber("EstimatedSize", InstalledKibibytes(ctx_));
}

// The icon is copied into the installation folder, which outlives the
// working folder, and removed with the installed files.
void Registration::WriteDisplayIcon() {
    const std::string icon = AppInfo(appinfo::kDisplayIcon);
    if (icon.empty()) return;
    const std::string placed = CopyIntoInstallFolder(NamedFile(ctx_, icon));
    if (placed.empty()) return;
    ctx_.Log(core::LogKind::File, placed);
    WriteText("DisplayIcon", placed);
}

}  // namespace

ActionResult RegisterUninstall(InstallContext& context) {
    Registration registration(context);
    registration.PlaceUninstaller();
    registration.PlaceLanguageFiles();
    registration.CreateKey();
    registration.InstallLiveUpdate();
    registration.PlaceUninstallerResources();
    registration.WriteDisplayValues();
    setupcache::CacheSetup(context.Setup().sourceFolder, UninstallFolderOf(context), context.Setup().singleFileName);
    return ActionResult::Continue;
}

}  // namespace install
