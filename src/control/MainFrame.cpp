#include "control/MainFrame.h"

#include <shlobj.h>

#include "core/Folders.h"
#include "core/Messages.h"
#include "core/SettingsKeys.h"
#include "core/MessageDialog.h"
#include "control/OsVersion.h"
#include "control/ProjectFiles.h"
#include "core/Registry.h"
#include "core/Settings.h"
#include "control/StartupDriver.h"
#include "core/ExitCodes.h"
#include "pages/ProgressPage.h"
#include "control/ThemeFiles.h"
#include "core/Trace.h"
#include "core/WorkingFolder.h"
#include "core/ShellFileOps.h"
#include "util/Text.h"

namespace {

const char kFrameClass[] = "CorvaneMainFrame";
const char kWindowsVersionKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\";
const char kWindowsNtVersionKey[] = "Software\\Microsoft\\Windows NT\\CurrentVersion";

}  // namespace

CMainFrame::CMainFrame() : m_wizard(new Wizard(*this)) {}

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
    switch (msg) {
    case WM_CREATE:
        return OnCreate() ? 0 : -1;
    case WM_TIMER:
        OnTimer(wParam);
        return 0;
    case kMessageDeleteRetiredPages:
        m_wizard->DeleteRetiredPages();
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
    trace::Line("step 1: frame created");
    ResetStartupValues();
    DiscoverFolders();
    UnpackThemeFiles();
    m_state.workingFolderName = folders::WorkingFolderName();
    trace::Value("step 5: working folder name", m_state.workingFolderName);
    if (!LocateProjectFiles()) return false;
    ResolveMachineValues();
    ReadProductSettings();
    DetermineOsName();
    if (!LanguageStep()) RunStartupDriver();
    return true;
}

void CMainFrame::ResetStartupValues() {
    trace::Line("step 2: start-up values reset");
    m_state.splashShown = false;
    m_state.setupType = -1;
    m_state.launchFileChosen = 0;
    m_state.launchReadmeChosen = 0;
}

void CMainFrame::DiscoverFolders() {
    SetupState& s = m_state;
    s.windowsFolder = folders::WindowsFolder();
    s.windowsVolume = s.windowsFolder.substr(0, 2);
    s.tempFolder = folders::TempFolder();
    s.sourceFolder = folders::CurrentFolder();
    s.languageFilePath = s.sourceFolder + "language.lan";
    s.systemFolder = folders::SystemFolder();
    s.themeFolder = s.sourceFolder + "theme\\";
    trace::Line("step 3: folders discovered");
    trace::Value("windows folder", s.windowsFolder);
    trace::Value("temporary folder", s.tempFolder);
    trace::Value("source folder", s.sourceFolder);
    trace::Value("system folder", s.systemFolder);
}

void CMainFrame::UnpackThemeFiles() {
    int moved = MoveThemeFiles(m_state.sourceFolder, m_state.themeFolder);
    trace::Value("step 4: theme files moved", std::to_string(moved));
}

// Decrypts setup.nsx and data.nsx into the working folder. A missing file, or
// a container the cipher rejects, ends the setup with a message and exit code 0.
bool CMainFrame::LocateProjectFiles() {
    SetupState& s = m_state;
    s.workingFolder = core::WorkingFolderPath(s.tempFolder, s.workingFolderName);
    s.settingsPath = s.workingFolder + core::kSettingsFileName;
    s.dataPath = s.workingFolder + core::kDataFileName;
    ProjectFileResult r =
        DecryptProjectFiles(Cipher(), s.sourceFolder, s.workingFolder, s.settingsPath, s.dataPath);
    trace::Value("step 6: working folder", s.workingFolder);
    if (r.outcome == ProjectFileResult::Decrypted) {
        trace::Line("step 6: project files decrypted");
        return true;
    }
    const std::string& message =
        r.outcome == ProjectFileResult::Missing ? std::string(core::EnglishText(core::MessageId::DataFilesMissing)) : r.message;
    trace::Value("step 6: project files failed", message);
    MessageBoxA(nullptr, message.c_str(), core::kMessageCaption, MB_OK);
    PostQuitMessage(0);
    return false;
}

void CMainFrame::ResolveMachineValues() {
    SetupState& s = m_state;
    SpecialFolderValues& f = s.special;
    // The scope flag is still clear here, so the per-user variants result.
    const bool allUsers = s.perUserScope;
    auto pick = [allUsers](int perUser, int common) {
        return folders::SpecialFolder(allUsers ? common : perUser);
    };
    f.favorites = pick(CSIDL_FAVORITES, CSIDL_COMMON_FAVORITES);
    f.sharedDocuments = folders::SpecialFolder(CSIDL_COMMON_DOCUMENTS);
    f.pictures = pick(CSIDL_MYPICTURES, CSIDL_COMMON_PICTURES);
    f.programMenu = pick(CSIDL_PROGRAMS, CSIDL_COMMON_PROGRAMS);
    f.music = pick(CSIDL_MYMUSIC, CSIDL_COMMON_MUSIC);
    f.sendTo = folders::SpecialFolder(CSIDL_SENDTO);
    f.fonts = folders::SpecialFolder(CSIDL_FONTS);
    f.appData = pick(CSIDL_APPDATA, CSIDL_COMMON_APPDATA);
    f.documents = folders::SpecialFolder(CSIDL_PERSONAL);
    f.startupMenu = pick(CSIDL_STARTUP, CSIDL_COMMON_STARTUP);
    f.startMenu = pick(CSIDL_STARTMENU, CSIDL_COMMON_STARTMENU);
    f.desktop = pick(CSIDL_DESKTOPDIRECTORY, CSIDL_COMMON_DESKTOPDIRECTORY);

    s.programFilesFolder = registry::ReadMachineText(kWindowsVersionKey, "ProgramFilesDir");
    s.commonFilesFolder = registry::ReadMachineText(kWindowsVersionKey, "CommonFilesDir");
    s.noAdministrator = s.programFilesFolder.empty();
    s.loginName = folders::LoginName();
    s.customerName = s.loginName;
    s.diskImage = folders::Exists(s.sourceFolder + core::kDiskImageFolderName);

    trace::Line("step 7: machine values resolved");
    trace::Value("program files folder", s.programFilesFolder);
    trace::Value("common files folder", s.commonFilesFolder);
    trace::Value("documents folder", f.documents);
    trace::Value("login name", s.loginName);
    trace::Value("disk image", FlagText(s.diskImage));
}

void CMainFrame::ReadProductSettings() {
    namespace app = core::keys::appinfo;
    namespace dlg = core::keys::dialoglist;
    SetupState& s = m_state;
    const std::string& ini = s.settingsPath;
    s.productName = settings::Read(ini, app::kSection, app::kProductName);
    s.publisher = settings::Read(ini, app::kSection, app::kPublisher);
    s.productVersion = settings::Read(ini, app::kSection, app::kProductVersion);
    s.companyName = registry::ReadMachineText(kWindowsNtVersionKey, "RegisteredOrganization");
    s.installFolder = text::WithTrailingBackslash(Expand(settings::Read(ini, app::kSection, app::kInstallFolder)));
    s.defaultInstallFolder = s.installFolder;
    s.currentInstallFolder = s.installFolder;
    s.perUserScope = settings::Read(ini, app::kSection, app::kInstallScope) == "Per-User";
    s.languageName = settings::Read(ini, app::kSection, app::kLanguage);
    s.productCode = settings::Read(ini, app::kSection, app::kProductCode);
    s.launchFile = Expand(settings::Read(ini, dlg::kSection, dlg::kLaunchFile));
    s.launchParameters = Expand(settings::Read(ini, dlg::kSection, dlg::kLaunchParameters));
    s.readmeFile = Expand(settings::Read(ini, dlg::kSection, dlg::kLaunchReadme));
    s.showLaunchFile = settings::ReadNotNo(ini, dlg::kSection, dlg::kShowLaunchFile);
    s.showLaunchReadme = settings::ReadNotNo(ini, dlg::kSection, dlg::kShowLaunchReadme);
    s.preview = settings::ReadNumber(ini, app::kSection, app::kPreview) == 255;
    s.unattended = settings::ReadYes(ini, core::keys::building::kSection, core::keys::building::kUnattended);
    s.customerRegistryRoot = settings::Read(ini, dlg::kSection, dlg::kCustomerRegistryRoot);
    s.customerRegistryKey = settings::Read(ini, dlg::kSection, dlg::kCustomerRegistryKey);

    trace::Line("step 8: product settings read");
    trace::Value("product name", s.productName);
    trace::Value("publisher", s.publisher);
    trace::Value("product version", s.productVersion);
    trace::Value("company name", s.companyName);
    trace::Value("installation folder", s.installFolder);
    trace::Value("language", s.languageName);
    trace::Value("product code", s.productCode);
    trace::Value("preview", FlagText(s.preview));
    trace::Value("unattended", FlagText(s.unattended));
}

void CMainFrame::DetermineOsName() {
    m_state.osName = MachineOsName();
    trace::Value("step 9: operating system", m_state.osName);
}

// Language selection: returns true when it showed the language page or
// applied a language file (which runs the driver itself). No language
// selection is built in yet, so the driver always runs from frame creation.
bool CMainFrame::LanguageStep() {
    trace::Line("step 10: language step");
    return false;
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

void CMainFrame::EndSetup(int unattendedExitCode) {
    PostQuitMessage(m_state.unattended ? unattendedExitCode : 0);
}

void CMainFrame::DeleteRetiredPagesLater() {
    PostMessageA(m_hWnd, kMessageDeleteRetiredPages, 0, 0);
}

void CMainFrame::RemoveWorkingFolder() { ::RemoveWorkingFolder(m_state); }

std::string CMainFrame::Expand(const std::string& text) const { return ExpandSetupText(m_state, text); }

// An unattended run has nobody to close a dialog: its exit code tells instead.
void CMainFrame::ShowMessage(const std::string& text) {
    trace::Value("message", text);
    if (!m_state.unattended) ShowMessageDialog(nullptr, text);
}

void CMainFrame::CloseStartPage() { m_wizard->CloseCurrentPage(); }

void CMainFrame::ShowFirstPage() { m_wizard->NextPage(); }

// Merge modules run after the main installation; not built yet.
void CMainFrame::RunMergeModuleStep() {}

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
    trace::Value("hand-over: installation folder", m_state.installFolder);
    {
        ProgressPageSink progress(m_wizard->CurrentPage());
        InstallEngine engine(MakeEngineSetup(), &progress);
        engine.Run();
    }
    trace::Value("installation ended, abort flag", FlagText(GlobalFlags().cancelled));
    if (GlobalFlags().cancelled) {
        m_state.finished = true;
        if (m_state.unattended) {
            EndSetup(kExitAbandoned);
        } else if (GlobalFlags().cancel) {
            // A cancel confirmed during the run left the working folder to now.
            RemoveWorkingFolder();
            m_wizard->ShowCompletePage();
        } else {
            m_wizard->ShowErrorPage();  // abandoned at a failed copy
        }
        return;
    }
    if (m_state.mergeModulesPending) {
        m_state.mergeModulesPending = false;
    } else if (m_state.unattended) {
        m_wizard->Finish();
    } else {
        m_wizard->NextPage();
    }
}

EngineSetup CMainFrame::MakeEngineSetup() const {
    const SetupState& s = m_state;
    EngineSetup e;
    e.values = PlaceholderValuesOf(s);
    e.currentInstallFolder = s.currentInstallFolder;
    e.defaultInstallFolder = s.defaultInstallFolder;
    e.windowsFolder = s.windowsFolder;
    e.sourceFolder = s.sourceFolder;
    e.workingFolder = s.workingFolder;
    e.themeFolder = s.themeFolder;
    e.settingsPath = s.settingsPath;
    e.dataPath = s.dataPath;
    e.osName = s.osName;
    e.preview = s.preview;
    e.diskImage = s.diskImage;
    e.mergeModulesPending = s.mergeModulesPending;
    e.unattended = s.unattended;
    e.features = s.features;
    return e;
}
