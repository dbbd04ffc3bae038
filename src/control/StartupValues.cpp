#include "control/StartupValues.h"

#include <windows.h>
#include <shlobj.h>

#include "control/OsVersion.h"
#include "control/ProjectFiles.h"
#include "control/ThemeFiles.h"
#include "core/Folders.h"
#include "core/Messages.h"
#include "core/Registry.h"
#include "core/Settings.h"
#include "core/SettingsKeys.h"
#include "core/Trace.h"
#include "core/TraceNames.h"
#include "core/WorkingFolder.h"
#include "util/Text.h"

namespace control::startup {

namespace {

const char kWindowsVersionKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\";
const char kWindowsNtVersionKey[] = "Software\\Microsoft\\Windows NT\\CurrentVersion";

}  // namespace

void ResetValues(core::SetupState& s) {
    core::trace::Line("step 2: start-up values reset");
    s.splashShown = false;
    s.setupType = -1;
    s.launchFileChosen = false;
    s.launchReadmeChosen = false;
}

namespace {

// The project beside the setup, in its own folder as the system names the
// running program (a deployment tool starts \\server\share\app\setup.exe
// from anywhere), never one planted in whatever folder it was started from;
// only when none lies beside it, the current folder's.
std::string ProjectFolder() {
    const std::string own = core::folders::ProgramFolder();
    if (!own.empty() && core::folders::IsFile(own + "setup.nsx")) return own;
    return core::folders::CurrentFolder();
}

}  // namespace

void DiscoverFolders(core::SetupState& s) {
    s.windowsFolder = core::folders::WindowsFolder();
    s.windowsVolume = s.windowsFolder.substr(0, 2);
    s.tempFolder = core::folders::TempFolder();
    s.sourceFolder = s.packageFolder.empty() ? ProjectFolder() : s.packageFolder;
    s.languageFilePath = s.sourceFolder + "language.lan";
    s.systemFolder = core::folders::SystemFolder();
    s.themeFolder = s.sourceFolder + "theme\\";
    core::trace::Line("step 3: folders discovered");
    core::trace::Value("windows folder", s.windowsFolder);
    core::trace::Value("temporary folder", s.tempFolder);
    core::trace::Value(core::tracenames::kSourceFolder, s.sourceFolder);
    core::trace::Value("system folder", s.systemFolder);
}

void UnpackThemeFiles(const core::SetupState& s) {
    int moved = MoveThemeFiles(s.sourceFolder, s.themeFolder);
    core::trace::Value("step 4: theme files moved", std::to_string(moved));
}

namespace {

// The project files cannot be had: the message, then the quit message. A
// run started with /S shows none: it is known to be silent before them.
void StopStartup(const std::string& message, bool silent) {
    core::trace::Value("step 6: project files failed", message);
    if (!silent) MessageBoxA(nullptr, message.c_str(), core::kMessageCaption, MB_OK);
    PostQuitMessage(0);
}

}  // namespace

// Makes a working folder of this run's own and decrypts setup.nsx and
// data.nsx into it. A working folder that cannot be made, a missing file, or a
// container the cipher rejects, ends the setup with a message: the frame is
// not created and the setup ends with core::kExitFailed.
bool LocateProjectFiles(core::SetupState& s) {
    const std::string timeName = core::folders::WorkingFolderName();
    s.workingFolderName = core::folders::CreateWorkingFolder(s.tempFolder, timeName);
    core::trace::Value("step 5: working folder name", s.workingFolderName);
    if (s.workingFolderName.empty()) {
        StopStartup(core::FormatText(core::EnglishText(core::MessageId::FolderNotCreated),
                                     {core::WorkingFolderPath(s.tempFolder, timeName)}),
                    s.silentSwitch);
        return false;
    }
    s.workingFolder = core::WorkingFolderPath(s.tempFolder, s.workingFolderName);
    s.settingsPath = s.workingFolder + core::kSettingsFileName;
    s.dataPath = s.workingFolder + core::kDataFileName;
    CRijndaelFileCrypt cipher;
    ProjectFileResult r =
        DecryptProjectFiles(cipher, s.sourceFolder, s.settingsPath, s.dataPath);
    core::trace::Value(core::tracenames::kWorkingFolder, s.workingFolder);
    if (r.outcome == ProjectFileResult::Decrypted) {
        core::trace::Line("step 6: project files decrypted");
        return true;
    }
    StopStartup(r.outcome == ProjectFileResult::Missing
                    ? std::string(core::EnglishText(core::MessageId::DataFilesMissing))
                    : r.message,
                s.silentSwitch);
    return false;
}

namespace {

// One column of the special folders: the user's own (common false) or
// everyone's. Folders without a common variant are the user's in both.
core::SpecialFolderValues SpecialFolderColumn(bool common) {
    auto pick = [common](int perUser, int allUsers) {
        return core::folders::SpecialFolder(common ? allUsers : perUser);
    };
    core::SpecialFolderValues f;
    f.favorites = pick(CSIDL_FAVORITES, CSIDL_COMMON_FAVORITES);
    f.sharedDocuments = core::folders::SpecialFolder(CSIDL_COMMON_DOCUMENTS);
    f.pictures = pick(CSIDL_MYPICTURES, CSIDL_COMMON_PICTURES);
    f.programMenu = pick(CSIDL_PROGRAMS, CSIDL_COMMON_PROGRAMS);
    f.music = pick(CSIDL_MYMUSIC, CSIDL_COMMON_MUSIC);
    f.sendTo = core::folders::SpecialFolder(CSIDL_SENDTO);
    f.fonts = core::folders::SpecialFolder(CSIDL_FONTS);
    f.appData = pick(CSIDL_APPDATA, CSIDL_COMMON_APPDATA);
    f.documents = core::folders::SpecialFolder(CSIDL_PERSONAL);
    f.startupMenu = pick(CSIDL_STARTUP, CSIDL_COMMON_STARTUP);
    f.startMenu = pick(CSIDL_STARTMENU, CSIDL_COMMON_STARTMENU);
    f.desktop = pick(CSIDL_DESKTOPDIRECTORY, CSIDL_COMMON_DESKTOPDIRECTORY);
    return f;
}

}  // namespace

void ResolveMachineValues(core::SetupState& s) {
    // Both columns: the scope is read with the product's settings, and the
    // customer page may change it.
    s.perUserFolders = SpecialFolderColumn(false);
    s.allUsersFolders = SpecialFolderColumn(true);
    s.special = s.allUsersFolders;
    s.localAppDataFolder =
        util::text::WithoutTrailingBackslashes(core::folders::SpecialFolder(CSIDL_LOCAL_APPDATA));
    const core::SpecialFolderValues& f = s.special;

    s.programFilesFolder = core::registry::ReadMachineText(kWindowsVersionKey, "ProgramFilesDir");
    s.commonFilesFolder = core::registry::ReadMachineText(kWindowsVersionKey, "CommonFilesDir");
    // The folders are read for reading only, which works for every user;
    // administrator rights are the key opening with full access.
    s.noAdministrator = s.programFilesFolder.empty() ||
                        !core::registry::OpensWithFullAccess(HKEY_LOCAL_MACHINE, kWindowsVersionKey);
    s.loginName = core::folders::LoginName();
    s.customerName = s.loginName;
    s.diskImage = core::folders::Exists(s.sourceFolder + core::kDiskImageFolderName);

    core::trace::Line("step 7: machine values resolved");
    core::trace::Value(core::tracenames::kProgramFilesFolder, s.programFilesFolder);
    core::trace::Value("common files folder", s.commonFilesFolder);
    core::trace::Value(core::tracenames::kDocumentsFolder, f.documents);
    core::trace::Value("login name", s.loginName);
    core::trace::Value(core::tracenames::kDiskImage, core::FlagText(s.diskImage));
}

void ReadProductSettings(core::SetupState& s) {
    namespace app = core::keys::appinfo;
    namespace dlg = core::keys::dialoglist;
    const std::string& ini = s.settingsPath;
    s.productName = core::settings::Read(ini, app::kSection, app::kProductName);
    s.publisher = core::settings::Read(ini, app::kSection, app::kPublisher);
    s.productVersion = core::settings::Read(ini, app::kSection, app::kProductVersion);
    s.companyName = core::registry::ReadMachineText(kWindowsNtVersionKey, "RegisteredOrganization");
    // Every value the folder's expansion may name is read before it.
    s.productCode = core::settings::Read(ini, app::kSection, app::kProductCode);
    // Before the folder: its expansion may name a folder of the scope's column.
    s.scopeSetting = core::settings::Read(ini, app::kSection, app::kInstallScope);
    core::ApplyScope(s, core::scope::ScopeAtStart(s.scopeSetting, !s.noAdministrator));
    s.installFolder = util::text::WithTrailingBackslash(core::ExpandSetupText(s, core::settings::Read(ini, app::kSection, app::kInstallFolder)));
    s.defaultInstallFolder = s.installFolder;
    s.currentInstallFolder = s.installFolder;
    s.languageName = core::settings::Read(ini, app::kSection, app::kLanguage);
    // Kept as written: they name the folder the user may still change.
    s.launchFile = core::settings::Read(ini, dlg::kSection, dlg::kLaunchFile);
    s.launchParameters = core::settings::Read(ini, dlg::kSection, dlg::kLaunchParameters);
    s.readmeFile = core::settings::Read(ini, dlg::kSection, dlg::kLaunchReadme);
    s.showLaunchFile = core::settings::ReadNotNo(ini, dlg::kSection, dlg::kShowLaunchFile);
    s.showLaunchReadme = core::settings::ReadNotNo(ini, dlg::kSection, dlg::kShowLaunchReadme);
    s.preview = core::settings::ReadNumber(ini, app::kSection, app::kPreview) == 255;
    s.unattended = s.silentSwitch ||
                   core::settings::ReadYes(ini, core::keys::building::kSection, core::keys::building::kUnattended);
    s.customerRegistryRoot = core::settings::Read(ini, dlg::kSection, dlg::kCustomerRegistryRoot);
    s.customerRegistryKey = core::settings::Read(ini, dlg::kSection, dlg::kCustomerRegistryKey);

    core::trace::Line("step 8: product settings read");
    core::trace::Value(core::tracenames::kProductName, s.productName);
    core::trace::Value(core::tracenames::kPublisher, s.publisher);
    core::trace::Value(core::tracenames::kProductVersion, s.productVersion);
    core::trace::Value(core::tracenames::kCompanyName, s.companyName);
    core::trace::Value(core::tracenames::kInstallFolder, s.installFolder);
    core::trace::Value(core::tracenames::kLanguage, s.languageName);
    core::trace::Value(core::tracenames::kProductCode, s.productCode);
    core::trace::Value("preview", core::FlagText(s.preview));
    core::trace::Value(core::tracenames::kUnattended, core::FlagText(s.unattended));
}

void DetermineOsName(core::SetupState& s) {
    s.osName = MachineOsName();
    core::trace::Value(core::tracenames::kOperatingSystem, OsNameWithVersion(MachineOsVersion()));
}

}  // namespace control::startup
