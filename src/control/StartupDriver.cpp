// The start-up driver: runs after the language step, prepares the wizard and
// shows its first page. Steps whose subsystems are not part of the engine yet
// are named here and do nothing.
#include "control/MainFrame.h"
#include "control/ExitCodes.h"
#include "control/PreviousInstall.h"
#include "control/RunProgram.h"
#include "control/Settings.h"
#include "control/SystemChecks.h"
#include "control/Trace.h"
#include "cabinet/CabinetExtract.h"
#include "pages/ProgressPage.h"

void CMainFrame::RunStartupDriver() {
    if (m_driverRan) return;
    m_driverRan = true;
    if (SplashStep()) m_state.splashShown = kFlagOn;
    trace::Line("step 11: splash");
    trace::Line("step 12: system requirements");
    if (!CheckSystemRequirements()) return EndSetup(kExitRefused);
    trace::Line("step 13: administrator rights");
    if (!CheckAdministratorRights()) return EndSetup(kExitRefused);
    trace::Line("step 14: conditions");
    ReadConditions();
    trace::Line("step 15: previous installation");
    if (!PreviousInstallation()) return EndSetup();
    trace::Line("step 16: page list");
    ReadPageList();
    trace::Line("step 17: file actions");
    ReadFileActions();
    trace::Line("step 18: setup types and features");
    ReadSetupTypesAndFeatures();
    trace::Line("step 19: start page");
    if (!StartPageStep()) return EndSetup(kExitPreparationFailed);
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

void CMainFrame::ReadPageList() { m_wizard->BuildPageList(); }

void CMainFrame::ReadFileActions() {}

// The features of the setup types, all to be installed until the custom
// setup page excludes some.
void CMainFrame::ReadSetupTypesAndFeatures() {
    const std::string& ini = m_state.settingsPath;
    m_state.features.Clear();
    const int total = settings::ReadListCount(ini, "SETUPTYPE");
    for (int i = 0; i < total && m_state.features.Size() < filerules::FeatureTable::kCapacity; ++i)
        m_state.features.Add(settings::ReadListField(ini, "SETUPTYPE", "FeatureName", i));
}

// Start page and the preparation extraction of the payload cabinet; false
// when the extraction failed. Nothing to prepare in disk-image mode.
bool CMainFrame::StartPageStep() {
    if (m_state.diskImage == kFlagOn) return true;
    SkinnedPage* start = m_wizard->ShowStartPage();
    HWND bar = start ? start->ControlWindow("IDC_PROGRESS1") : nullptr;
    cabinet::ProgressBarTarget progress(bar);
    m_wizard->SetWorkerRunning(true);
    const bool extracted = cabinet::ExtractCabinet(cabinet::PayloadCabinetPath(m_state.sourceFolder),
                                                   m_state.workingFolder, &progress);
    m_wizard->SetWorkerRunning(false);
    trace::Value("preparation extraction", extracted ? "done" : "failed");
    if (GlobalFlags().cancelled == kFlagOn) {
        // Cancelled on the start page: no wizard page follows but the complete page.
        RemoveWorkingFolder();
        m_wizard->ShowCompletePage();
        return true;
    }
    if (!extracted) return false;
    if (m_state.splashShown == kFlagOn) {
        m_state.splashMayClose = kFlagOn;
        SetTimer(m_hWnd, kTimerAfterPreparation, 1000, nullptr);
    } else {
        CloseStartPage();
    }
    return true;
}

void CMainFrame::OpenBackgroundWindow() {}

void CMainFrame::ReadBillboards() {}

void CMainFrame::ReadVariables() {}

void CMainFrame::ReadMergeModules() {}

void CMainFrame::CloseStartPage() { m_wizard->CloseCurrentPage(); }

void CMainFrame::RunMergeModuleStep() {}

void CMainFrame::ShowFirstPage() { m_wizard->NextPage(); }

// Runs the installation for the progress page, then moves on: the complete
// page in its cancelled form, the add-on programs, the end of an unattended
// run, or the next page.
int CMainFrame::HandOverToInstallation() {
    m_state.installFolder = m_state.currentInstallFolder;
    trace::Value("hand-over: installation folder", m_state.installFolder);
    {
        ProgressPageSink progress(m_wizard->CurrentPage());
        InstallEngine engine(MakeEngineSetup(), &progress);
        engine.Run();
    }
    trace::Value("installation ended, abort flag", std::to_string(GlobalFlags().cancelled));
    if (GlobalFlags().cancelled == kFlagOn) {
        m_state.finished = kFlagOn;
        if (m_state.unattended == kFlagOn) {
            EndSetup(kExitAbandoned);
        } else if (GlobalFlags().cancel == 1) {
            // A cancel confirmed during the run left the working folder to now.
            RemoveWorkingFolder();
            m_wizard->ShowCompletePage();
        } else {
            m_wizard->ShowErrorPage();  // abandoned at a failed copy
        }
        return 0;
    }
    if (m_state.mergeModulesPending == kFlagOn) {
        m_state.mergeModulesPending = kFlagOff;
    } else if (m_state.unattended == kFlagOn) {
        m_wizard->Finish();
    } else {
        m_wizard->NextPage();
    }
    return 1;
}

EngineSetup CMainFrame::MakeEngineSetup() const {
    const SetupState& s = m_state;
    EngineSetup e;
    e.values = CurrentPlaceholderValues();
    e.currentInstallFolder = s.currentInstallFolder;
    e.defaultInstallFolder = s.defaultInstallFolder;
    e.windowsFolder = s.windowsFolder;
    e.tempFolder = s.tempFolder;
    e.sourceFolder = s.sourceFolder;
    e.workingFolderName = s.workingFolderName;
    e.themeFolder = s.themeFolder;
    e.settingsPath = s.settingsPath;
    e.dataPath = s.dataPath;
    e.osName = s.osName;
    e.preview = s.preview == kFlagOn;
    e.diskImage = s.diskImage == kFlagOn;
    e.mergeModulesPending = s.mergeModulesPending == kFlagOn;
    e.unattended = s.unattended == kFlagOn;
    e.features = s.features;
    return e;
}
