#include "control/MainFrame.h"

#include <shlobj.h>

#include "core/Folders.h"
#include "core/Messages.h"
#include "core/SettingsKeys.h"
#include "core/MessageDialog.h"
#include "control/LanguageRules.h"
#include "install/InterruptedRun.h"
#include "control/LanguageStep.h"
#include "control/OsVersion.h"
#include "control/ProjectFiles.h"
#include "core/Registry.h"
#include "core/Settings.h"
#include "control/StartupDriver.h"
#include "core/ExitCodes.h"
#include "pages/ProgressPage.h"
#include "control/ThemeFiles.h"
#include "core/Trace.h"
#include "core/TraceNames.h"
#include "core/UninstallLog.h"
#include "core/WorkingFolder.h"
#include "core/ShellFileOps.h"
#include "install/addons/MergeModules.h"
#include "util/Text.h"

namespace control {

namespace {

const char kFrameClass[] = "CorvaneMainFrame";
const char kWindowsVersionKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\";
const char kWindowsNtVersionKey[] = "Software\\Microsoft\\Windows NT\\CurrentVersion";
// The add-on page is up this long before its programs start.
constexpr UINT kAddOnDelayMs = 1000;

}  // namespace

CMainFrame::CMainFrame() : m_wizard(new pages::Wizard(*this)) {}

CMainFrame::~CMainFrame() = default;

bool CMainFrame::Create(HINSTANCE instance) {
    WNDCLASSA wc = {};
    wc.lpfnWndProc = &CMainFrame::WindowProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.lpszClassName = kFrameClass;
    RegisterClassA(&wc);
    // The frame stays hidden; the wizard pages are windows of their own.
    HWND hwnd = CreateWindowExA(0, kFrameClass, "Setup", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                                CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr,
                                instance, this);
    if (!hwnd && GetLastError() != ERROR_SUCCESS) core::trace::Failure("CreateWindowEx (frame)", GetLastError());
    return hwnd != nullptr;
}

LRESULT CALLBACK CMainFrame::WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    CMainFrame* self;
    if (msg == WM_NCCREATE) {
        self = static_cast<CMainFrame*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
        self->m_hWnd = hwnd;
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    } else {
        self = reinterpret_cast<CMainFrame*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    }
    if (!self) return DefWindowProcA(hwnd, msg, wParam, lParam);
    return self->OnMessage(msg, wParam, lParam);
}

LRESULT CMainFrame::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    LRESULT answered = 0;
    if (m_background.HandleMessage(m_hWnd, msg, wParam, lParam, answered)) return answered;
    switch (msg) {
    case WM_CREATE:
        return OnCreate() ? 0 : -1;
    case WM_TIMER:
        OnTimer(wParam);
        return 0;
    case kMessageDeleteRetiredPages:
        m_wizard->DeleteRetiredPages();
        return 0;
    case kMessageStartInstallation:
        m_wizard->RunInstallation();
        return 0;
    case WM_DESTROY:
        m_hWnd = nullptr;
        return 0;
    default:
        return DefWindowProcA(m_hWnd, msg, wParam, lParam);
    }
}

// Frame creation: everything from the folders to the language step.
bool CMainFrame::OnCreate() {
    core::trace::Line("step 1: frame created");
    ResetStartupValues();
    DiscoverFolders();
    UnpackThemeFiles();
    if (!LocateProjectFiles()) return false;
    ResolveMachineValues();
    ReadProductSettings();
    DetermineOsName();
    if (!LanguageStep()) RunStartupDriver();
    return true;
}

void CMainFrame::ResetStartupValues() {
    core::trace::Line("step 2: start-up values reset");
    m_state.splashShown = false;
    m_state.setupType = -1;
    m_state.launchFileChosen = false;
    m_state.launchReadmeChosen = false;
}

void CMainFrame::DiscoverFolders() {
    core::SetupState& s = m_state;
    s.windowsFolder = core::folders::WindowsFolder();
    s.windowsVolume = s.windowsFolder.substr(0, 2);
    s.tempFolder = core::folders::TempFolder();
    s.sourceFolder = core::folders::CurrentFolder();
    s.languageFilePath = s.sourceFolder + "language.lan";
    s.systemFolder = core::folders::SystemFolder();
    s.themeFolder = s.sourceFolder + "theme\\";
    core::trace::Line("step 3: folders discovered");
    core::trace::Value("windows folder", s.windowsFolder);
    core::trace::Value("temporary folder", s.tempFolder);
    core::trace::Value(core::tracenames::kSourceFolder, s.sourceFolder);
    core::trace::Value("system folder", s.systemFolder);
}

void CMainFrame::UnpackThemeFiles() {
    int moved = MoveThemeFiles(m_state.sourceFolder, m_state.themeFolder);
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
bool CMainFrame::LocateProjectFiles() {
    core::SetupState& s = m_state;
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
    ProjectFileResult r =
        DecryptProjectFiles(Cipher(), s.sourceFolder, s.settingsPath, s.dataPath);
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

void CMainFrame::ResolveMachineValues() {
    core::SetupState& s = m_state;
    core::SpecialFolderValues& f = s.special;
    // The scope flag is still clear here, so the per-user variants result.
    const bool allUsers = s.perUserScope;
    auto pick = [allUsers](int perUser, int common) {
        return core::folders::SpecialFolder(allUsers ? common : perUser);
    };
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

void CMainFrame::ReadProductSettings() {
    namespace app = core::keys::appinfo;
    namespace dlg = core::keys::dialoglist;
    core::SetupState& s = m_state;
    const std::string& ini = s.settingsPath;
    s.productName = core::settings::Read(ini, app::kSection, app::kProductName);
    s.publisher = core::settings::Read(ini, app::kSection, app::kPublisher);
    s.productVersion = core::settings::Read(ini, app::kSection, app::kProductVersion);
    s.companyName = core::registry::ReadMachineText(kWindowsNtVersionKey, "RegisteredOrganization");
    // Every value the folder's expansion may name is read before it.
    s.productCode = core::settings::Read(ini, app::kSection, app::kProductCode);
    s.installFolder = util::text::WithTrailingBackslash(Expand(core::settings::Read(ini, app::kSection, app::kInstallFolder)));
    s.defaultInstallFolder = s.installFolder;
    s.currentInstallFolder = s.installFolder;
    s.perUserScope = core::settings::Read(ini, app::kSection, app::kInstallScope) == "Per-User";
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

void CMainFrame::DetermineOsName() {
    m_state.osName = MachineOsName();
    core::trace::Value(core::tracenames::kOperatingSystem, OsNameWithVersion(MachineOsVersion()));
}

// Language selection: true when it showed the language page (the driver
// then runs once a language is chosen); otherwise the language of the
// project's method is applied, if any, and the driver runs now. An
// unattended run asks nobody, and a theme without the language page cannot
// ask: both take the project's preselected language.
bool CMainFrame::LanguageStep() {
    core::trace::Line("step 10: language step");
    namespace app = core::keys::appinfo;
    const std::string method = core::settings::Read(m_state.settingsPath, app::kSection, app::kMethod);
    switch (ParseLanguageMethod(method)) {
    case LanguageMethod::AskUser:
        if (!m_state.unattended &&
            core::folders::IsFile(m_state.themeFolder + pages::wizard::kLanguagePage) &&
            m_wizard->ShowLanguagePage())
            return true;
        ApplyLanguage(m_state, m_state.languageName);
        return false;
    case LanguageMethod::AutoDetect: {
        const unsigned id = SystemUiLanguage();
        core::trace::Value("system interface language", std::to_string(id));
        const std::string name = LanguageNameForSystem(id);
        if (!name.empty()) ApplyLanguage(m_state, name);
        return false;
    }
    case LanguageMethod::None:
        return false;
    }
    return false;
}

void CMainFrame::LanguageChosen(const std::string& name) {
    ApplyLanguage(m_state, name);
    RunStartupDriver();
}

void CMainFrame::OnTimer(UINT_PTR id) {
    switch (id) {
    case kTimerAfterPreparation:
        if (m_state.splashFinished) {
            KillTimer(m_hWnd, kTimerAfterPreparation);
            CloseStartPage();
            ShowFirstPage();
        }
        break;
    case kTimerMergeModules:
        KillTimer(m_hWnd, kTimerMergeModules);
        RunMergeModuleStep();
        break;
    case kTimerAfterSplash:
        if (m_state.splashFinished) {
            KillTimer(m_hWnd, kTimerAfterSplash);
            ShowFirstPage();
        }
        break;
    }
}

CRijndaelFileCrypt& CMainFrame::Cipher() {
    if (!m_cipher) m_cipher.reset(new CRijndaelFileCrypt());
    return *m_cipher;
}

void CMainFrame::EndSetup(int exitCode) {
    if (m_installationCompleted) {
        m_installationCompleted = false;
        install::CommitRun(UninstallFolder());
    }
    PostQuitMessage(exitCode);
}

void CMainFrame::RollBackCompletedInstallation() {
    if (!m_installationCompleted) return;
    m_installationCompleted = false;
    core::trace::Line("rolling back the completed installation");
    install::RollBackRun(m_state.productCode, UninstallFolder(), m_state.windowsFolder);
}

std::string CMainFrame::UninstallFolder() const { return Expand(core::kUninstallFolder); }

void CMainFrame::DeleteRetiredPagesLater() {
    PostMessageA(m_hWnd, kMessageDeleteRetiredPages, 0, 0);
}

void CMainFrame::StartInstallationLater() {
    PostMessageA(m_hWnd, kMessageStartInstallation, 0, 0);
}

void CMainFrame::RemoveWorkingFolder() { core::RemoveWorkingFolder(m_state); }

void CMainFrame::ReleaseWorkingFolder() {
    m_billboards.Stop();
    RemoveWorkingFolder();
}

std::string CMainFrame::Expand(const std::string& text) const { return core::ExpandSetupText(m_state, text); }

// An unattended run has nobody to close a dialog: its exit code tells instead.
void CMainFrame::ShowMessage(const std::string& text) {
    core::trace::Value("message", text);
    if (!m_state.unattended) core::ShowMessageDialog(nullptr, text);
}

void CMainFrame::StartTimer(Timer timer) {
    SetTimer(m_hWnd, timer == Timer::AfterSplash ? kTimerAfterSplash : kTimerAfterPreparation, 1000,
             nullptr);
}

void CMainFrame::CloseStartPage() { m_wizard->CloseCurrentPage(); }

void CMainFrame::OpenBackground(const background::BackgroundSettings& settings,
                                const std::string& picturePath) {
    m_background.Open(m_hWnd, settings, picturePath);
    core::trace::Value(core::tracenames::kBackground, m_background.PictureLoaded() ? picturePath : "none");
}

void CMainFrame::StartBillboards(std::vector<billboard::Billboard> billboards) {
    m_billboards.Start(std::move(billboards), m_state.workingFolder, m_state.sourceFolder);
}

void CMainFrame::ShowFirstPage() { m_wizard->NextPage(); }

// Add-on programs and merge modules, a second after the add-on page showed.
// The working folder they needed goes afterwards; then the wizard goes on as
// after any installation (a condition asked may have cancelled it).
void CMainFrame::RunMergeModuleStep() {
    core::trace::Line("add-on programs and merge modules");
    const bool cancelledBefore = core::GlobalFlags().cancelled;
    auto conditionHolds = [this](const std::string& name) { return m_wizard->ConditionHolds(name); };
    const install::mergemodules::AddOnOutcome outcome = install::RunMergeModules(m_state, conditionHolds);
    if (outcome.restart) m_state.restartRequired = true;
    m_state.addOnFailures = outcome.failures;
    core::trace::Value("restart required", core::FlagText(m_state.restartRequired));
    for (const std::string& failure : outcome.failures) core::trace::Value(core::tracenames::kAddOnFailed, failure);
    m_state.mergeModulesPending = false;
    RemoveWorkingFolder();
    if (!cancelledBefore && core::GlobalFlags().cancelled) {
        // A condition of an entry cancelled the installation: it is taken
        // back, as the exit code and the interrupted page say.
        RollBackCompletedInstallation();
        m_state.finished = true;
        if (m_state.unattended) return EndSetup(core::kExitAbandoned);
        return m_wizard->ShowCompletePage();
    }
    if (m_state.unattended) return m_wizard->Finish();
    m_wizard->NextPage();
}

void CMainFrame::RunStartupDriver() {
    if (m_driverRan) return;
    m_driverRan = true;
    StartupDriver(*this).Run();
}

// Runs the installation for the progress page, then moves on: the complete
// page in its cancelled form, the add-on programs, the end of an unattended
// run, or the next page.
void CMainFrame::StartInstallation() {
    m_state.installFolder = m_state.currentInstallFolder;
    core::trace::Value(core::tracenames::kHandOverFolder, m_state.installFolder);
    install::RunOutcome outcome;
    {
        pages::ProgressPageSink progress(m_wizard->CurrentPage());
        install::InstallEngine engine(MakeEngineSetup(), &progress);
        outcome = engine.Run();
    }
    m_installationCompleted = outcome == install::RunOutcome::Completed;
    core::trace::Value("installation ended, abort flag", core::FlagText(core::GlobalFlags().cancelled));
    if (core::GlobalFlags().cancelled) {
        m_state.finished = true;
        if (m_state.unattended) {
            EndSetup(outcome == install::RunOutcome::Failed ? core::kExitFailed : core::kExitAbandoned);
        } else if (core::GlobalFlags().cancel && outcome != install::RunOutcome::Failed) {
            // A cancel confirmed during the run left the working folder to now.
            RemoveWorkingFolder();
            m_wizard->ShowCompletePage();
        } else {
            // Abandoned at a failed step, or could not run: the same code as unattended.
            m_wizard->ShowErrorPage(outcome == install::RunOutcome::Failed ? core::kExitFailed
                                                                           : core::kExitAbandoned);
        }
        return;
    }
    if (m_state.mergeModulesPending) {
        m_wizard->ShowAddOnPage();
        SetTimer(m_hWnd, kTimerMergeModules, kAddOnDelayMs, nullptr);
    } else if (m_state.unattended) {
        m_wizard->Finish();
    } else {
        m_wizard->NextPage();
    }
}

install::EngineSetup CMainFrame::MakeEngineSetup() const {
    const core::SetupState& s = m_state;
    install::EngineSetup e;
    e.values = core::PlaceholderValuesOf(s);
    e.shellFolders = s.special;
    e.currentInstallFolder = s.currentInstallFolder;
    e.defaultInstallFolder = s.defaultInstallFolder;
    e.windowsFolder = s.windowsFolder;
    e.sourceFolder = s.sourceFolder;
    e.workingFolder = s.workingFolder;
    e.themeFolder = s.themeFolder;
    e.pageLanguageFile = s.appliedLanguageFile;
    e.settingsPath = s.settingsPath;
    e.dataPath = s.dataPath;
    e.osName = s.osName;
    e.preview = s.preview;
    e.diskImage = s.diskImage;
    e.mergeModulesPending = s.mergeModulesPending;
    e.unattended = s.unattended;
    e.features = s.features;
    e.variables = s.variables;
    e.conditions = s.conditions;
    return e;
}

}  // namespace control
