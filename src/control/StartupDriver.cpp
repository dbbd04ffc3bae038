// The start-up driver: runs after the language step, prepares the wizard and
// shows its first page. Steps whose subsystems are not part of the engine yet
// are named here and do nothing.
#include "control/MainFrame.h"
#include "control/PreviousInstall.h"
#include "control/RunProgram.h"
#include "control/Settings.h"
#include "control/SystemChecks.h"
#include "control/Trace.h"

void CMainFrame::RunStartupDriver() {
    if (m_driverRan) return;
    m_driverRan = true;
    if (SplashStep()) m_state.splashShown = kFlagOn;
    trace::Line("step 11: splash");
    trace::Line("step 12: system requirements");
    if (!CheckSystemRequirements()) return EndSetup();
    trace::Line("step 13: administrator rights");
    if (!CheckAdministratorRights()) return EndSetup();
    trace::Line("step 14: conditions");
    ReadConditions();
    trace::Line("step 15: previous installation");
    if (!PreviousInstallation()) return EndSetup();
    trace::Line("step 16: page list");
    ReadPageList();
    m_currentPage = -1;
    trace::Line("step 17: file actions");
    ReadFileActions();
    trace::Line("step 18: setup types and features");
    ReadSetupTypesAndFeatures();
    trace::Line("step 19: start page");
    if (!StartPageStep()) return EndSetup();
    trace::Line("step 20: background window");
    OpenBackgroundWindow();
    trace::Line("step 21: billboards");
    ReadBillboards();
    trace::Line("step 22: variables");
    ReadVariables();
    trace::Line("step 23: merge modules");
    ReadMergeModules();
    if (m_state.splashShown != kFlagOn) {
        trace::Line("step 24: first page");
        ShowFirstPage();
    }
    if (m_state.splashShown == kFlagOn && m_state.diskImage == kFlagOn) {
        trace::Line("step 25: waiting for the splash");
        SetTimer(m_hWnd, kTimerAfterSplash, 1000, nullptr);
    }
    trace::Line("step 26: driver done");
}

// Splash picture and sound; true when a splash window was created.
bool CMainFrame::SplashStep() { return false; }

SystemCheckContext CMainFrame::CheckContext() {
    SystemCheckContext c;
    c.settingsPath = m_state.settingsPath;
    c.messageFilePath = m_state.languageFilePath;
    c.noAdministrator = m_state.noAdministrator == kFlagOn;
    c.expand = [this](const std::string& t) { return Expand(t); };
    c.showMessage = [this](const std::string& t) { ShowMessage(t); };
    return c;
}

bool CMainFrame::CheckSystemRequirements() {
    return ::CheckSystemRequirements(CheckContext(), MeasureMachine());
}

bool CMainFrame::CheckAdministratorRights() { return ::CheckAdministratorRights(CheckContext()); }

void CMainFrame::ReadConditions() {}

// Removes or takes over an earlier installation of the product; never fails.
bool CMainFrame::PreviousInstallation() {
    using settings::kShortValueSize;
    const std::string& ini = m_state.settingsPath;
    PreviousInstallSettings s;
    s.mode = settings::Read(ini, "APPINFO", "a26", kShortValueSize);
    s.removeFirst = settings::Read(ini, "APPINFO", "a29", kShortValueSize);
    s.detectMethod = settings::Read(ini, "APPINFO", "a27", kShortValueSize);
    s.registryPath = settings::Read(ini, "APPINFO", "a28", kShortValueSize);
    s.productCode = settings::Read(ini, "APPINFO", "a3");
    PreviousInstallActions a;
    a.expand = [this](const std::string& t) { return Expand(t); };
    a.runAndWait = [](const std::string& program, const std::string& arguments) {
        trace::Value("run and wait", program + "|" + arguments);
        RunAndWait(program, arguments);
    };
    a.setInstallFolder = [this](const std::string& folder) {
        m_state.installFolder = folder;
        m_state.currentInstallFolder = folder;
        trace::Value("earlier installation folder", folder);
    };
    HandlePreviousInstallation(s, a);
    trace::Value("installation folder after checks", m_state.installFolder);
    return true;
}

void CMainFrame::ReadPageList() {}

void CMainFrame::ReadFileActions() {}

void CMainFrame::ReadSetupTypesAndFeatures() {}

// Start page and the preparation extraction of the payload cabinet; false
// when the extraction failed. Nothing to prepare in disk-image mode.
bool CMainFrame::StartPageStep() {
    if (m_state.diskImage == kFlagOn) return true;
    return true;
}

void CMainFrame::OpenBackgroundWindow() {}

void CMainFrame::ReadBillboards() {}

void CMainFrame::ReadVariables() {}

void CMainFrame::ReadMergeModules() {}

void CMainFrame::CloseStartPage() {}

void CMainFrame::RunMergeModuleStep() {}

// Advances to the first wizard page. Without wizard pages in the project
// there is nothing to show, and the setup ends here.
void CMainFrame::ShowFirstPage() {
    trace::Line("first page: no wizard pages, setup ends");
    EndSetup();
}

int CMainFrame::HandOverToInstallation() {
    m_state.installFolder = m_state.currentInstallFolder;
    trace::Value("hand-over: installation folder", m_state.installFolder);
    if (GlobalFlags().cancelled == kFlagOn) return 0;
    return 1;
}
