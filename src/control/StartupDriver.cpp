#include "control/StartupDriver.h"

#include "control/LanguageRules.h"
#include "control/LanguageStep.h"
#include "control/StartupValues.h"
#include "core/Folders.h"

#include "core/ExitCodes.h"
#include "control/PreviousInstall.h"
#include "core/UninstallLog.h"
#include "install/InterruptedRun.h"
#include "control/Splash.h"
#include "core/RunProgram.h"
#include "core/Settings.h"
#include "core/SettingsKeys.h"
#include "control/SystemChecks.h"
#include "control/Variables.h"
#include "install/addons/MergeModules.h"
#include "core/Trace.h"
#include "core/TraceNames.h"
#include "cabinet/CabinetExtract.h"
#include "util/Text.h"

namespace control {

StartupDriver::StartupDriver(StartupHost& host) : host_(host), state_(host.State()) {}

std::string StartupDriver::Expand(const std::string& text) const {
    return core::ExpandSetupText(state_, text);
}

StartupDriver::Beginning StartupDriver::Begin() {
    startup::ResetValues(state_);
    startup::DiscoverFolders(state_);
    startup::UnpackThemeFiles(state_);
    if (!startup::LocateProjectFiles(state_)) return Beginning::Stopped;
    startup::ResolveMachineValues(state_);
    startup::ReadProductSettings(state_);
    startup::DetermineOsName(state_);
    return LanguageStep() ? Beginning::AskingLanguage : Beginning::Ready;
}

// Language selection: true when it showed the language page (the driver
// then runs once a language is chosen); otherwise the language of the
// project's method is applied, if any, and the driver runs now. An
// unattended run asks nobody, and a theme without the language page cannot
// ask: both take the project's preselected language.
bool StartupDriver::LanguageStep() {
    core::trace::Line("step 10: language step");
    namespace app = core::keys::appinfo;
    const std::string method = core::settings::Read(state_.settingsPath, app::kSection, app::kMethod);
    switch (ParseLanguageMethod(method)) {
    case LanguageMethod::AskUser:
        if (!state_.unattended &&
            core::folders::IsFile(state_.themeFolder + pages::wizard::kLanguagePage) &&
            host_.Pages().ShowLanguagePage())
            return true;
        ApplyLanguage(state_, state_.languageName);
        return false;
    case LanguageMethod::AutoDetect: {
        const unsigned id = SystemUiLanguage();
        core::trace::Value("system interface language", std::to_string(id));
        const std::string name = LanguageNameForSystem(id);
        if (!name.empty()) ApplyLanguage(state_, name);
        return false;
    }
    case LanguageMethod::None:
        return false;
    }
    return false;
}


void StartupDriver::Run() {
    if (SplashStep()) state_.splashShown = true;
    core::trace::Line("step 11: splash");
    core::trace::Line("step 12: system requirements");
    if (!CheckSystemRequirements()) return host_.EndSetup(core::kExitRefused);
    core::trace::Line("step 13: administrator rights");
    if (!CheckAdministratorRights()) return host_.EndSetup(core::kExitRefused);
    core::trace::Line("step 14: conditions");
    ReadConditions();
    core::trace::Line("step 15: previous installation");
    if (!PreviousInstallation()) return host_.EndSetup(core::kExitInstalled);
    ApplyCommandLineFolder();
    core::trace::Line(core::tracenames::kPageListStep);
    ReadPageList();
    core::trace::Line("step 17: file actions");
    ReadFileActions();
    core::trace::Line("step 18: setup types and features");
    ReadSetupTypesAndFeatures();
    core::trace::Line("step 19: start page");
    if (!StartPageStep()) return PreparationFailed();
    core::trace::Line("step 20: background window");
    OpenBackgroundWindow();
    core::trace::Line("step 21: billboards");
    ReadBillboards();
    core::trace::Line("step 22: variables");
    ReadVariables();
    core::trace::Line("step 23: merge modules");
    ReadMergeModules();
    if (!state_.splashShown) {
        core::trace::Line("step 24: first page");
        host_.ShowFirstPage();
    }
    if (state_.splashShown && state_.diskImage) {
        core::trace::Line("step 25: waiting for the splash");
        host_.StartTimer(StartupHost::Timer::AfterSplash);
    }
    core::trace::Line(core::tracenames::kDriverDone);
}

SystemCheckContext StartupDriver::CheckContext() {
    SystemCheckContext c;
    c.settingsPath = state_.settingsPath;
    c.messageFilePath = state_.languageFilePath;
    c.noAdministrator = state_.noAdministrator;
    c.expand = [this](const std::string& t) { return Expand(t); };
    c.showMessage = [this](const std::string& t) { host_.ShowMessage(t); };
    return c;
}

bool StartupDriver::CheckSystemRequirements() {
    const requirements::MachineFacts m = MeasureMachine();
    core::trace::Value("machine", std::to_string(m.version.major) + "." + std::to_string(m.version.minor) + "." +
                                      std::to_string(m.version.build & 0xFFFF) + ", " +
                                      std::to_string(requirements::InstalledMemoryMB(m.totalPhysicalBytes)) + " MB, " +
                                      std::to_string(m.screenWidth) + "x" + std::to_string(m.screenHeight) + ", " +
                                      std::to_string(m.bitsPerPixel) + " bits, " + m.processorName.value_or("?"));
    const bool met = control::CheckSystemRequirements(CheckContext(), m);
    core::trace::Value("system requirements", met ? "met" : "not met");
    return met;
}

bool StartupDriver::CheckAdministratorRights() {
    const bool met = control::CheckAdministratorRights(CheckContext());
    core::trace::Value("administrator rights", met ? "met" : "not met");
    return met;
}

// Removes or takes over an earlier installation of the product; never fails.
// The payload could not be extracted: nothing can be installed. An
// unattended run says so by its exit code, the user by the setup error page.
void StartupDriver::PreparationFailed() {
    host_.CloseStartPage();
    core::RemoveWorkingFolder(state_);
    if (state_.unattended) return host_.EndSetup(core::kExitPreparationFailed);
    host_.Pages().ShowErrorPage(core::kExitPreparationFailed);
}

bool StartupDriver::PreviousInstallation() {
    using core::settings::kShortValueSize;
    namespace app = core::keys::appinfo;
    const std::string& ini = state_.settingsPath;
    // A run of this product that was killed is rolled back first, in
    // whichever scope it ran: the customer page may have changed it.
    for (const auto scope : {core::scope::InstallScope::AllUsers, core::scope::InstallScope::PerUser})
        install::RecoverInterruptedRun(state_.productCode, Expand(core::scope::UninstallFolderTemplate(scope)),
                                       Expand(core::scope::UninstallerFolderTemplate(scope)), scope);
    PreviousInstallSettings s;
    s.mode = core::settings::Read(ini, app::kSection, app::kInstallMode, kShortValueSize);
    s.removeFirst = core::settings::Read(ini, app::kSection, app::kRemoveEarlier, kShortValueSize);
    s.detectMethod = core::settings::Read(ini, app::kSection, app::kUpgradeDetection, kShortValueSize);
    s.registryPath = core::settings::Read(ini, app::kSection, app::kUpgradeRegistryPath, kShortValueSize);
    s.productCode = core::settings::Read(ini, app::kSection, app::kProductCode);
    PreviousInstallActions a;
    a.expand = [this](const std::string& t) { return Expand(t); };
    a.runAndWait = [](const std::string& program, const std::string& arguments) {
        core::trace::Value("run and wait", program + "|" + arguments);
        // The uninstaller writes into this log; it comes last on its line,
        // where it runs to the line's end.
        const std::string log = core::trace::LogPath();
        core::RunAndWait(program, log.empty() ? arguments : arguments + " /LOG=" + log);
    };
    a.setInstallFolder = [this](const std::string& folder) {
        state_.installFolder = folder;
        state_.currentInstallFolder = folder;
        core::trace::Value("earlier installation folder", folder);
    };
    HandlePreviousInstallation(s, a);
    core::trace::Value(core::tracenames::kInstallFolderAfterChecks, state_.installFolder);
    return true;
}

// A folder given with /D= is taken as if typed on the destination page: it
// replaces the project's folder and an earlier installation's, and the page,
// when the project shows one, starts with it.
void StartupDriver::ApplyCommandLineFolder() {
    if (state_.commandLineFolder.empty()) return;
    state_.currentInstallFolder = util::text::WithTrailingBackslash(state_.commandLineFolder);
    core::trace::Value(core::tracenames::kFolderFromCommandLine, state_.currentInstallFolder);
}

void StartupDriver::ReadConditions() {
    const std::string& ini = state_.settingsPath;
    state_.conditions = core::ReadConditions([&ini](const std::string& key, int size) {
        return core::settings::Read(ini, core::keys::conditions::kSection, key.c_str(), size);
    });
    core::trace::Value("conditions", std::to_string(state_.conditions.size()));
}

void StartupDriver::ReadVariables() { ReadProjectVariables(state_); }

void StartupDriver::ReadPageList() { host_.Pages().BuildPageList(); }

// The features of the setup types, all to be installed until the custom
// setup page excludes some.
void StartupDriver::ReadSetupTypesAndFeatures() {
    const std::string& ini = state_.settingsPath;
    state_.features.Clear();
    namespace k = core::keys::setuptype;
    const int total = core::settings::ReadListCount(ini, k::kSection);
    for (int i = 0; i < total && state_.features.Size() < core::FeatureTable::kCapacity; ++i)
        state_.features.Add(core::settings::ReadListField(ini, k::kSection, k::kFeatureName, i));
}

// Start page and the preparation extraction of the payload cabinet; false
// when the extraction failed. Nothing to prepare in disk-image mode.
bool StartupDriver::StartPageStep() {
    if (state_.diskImage) {
        host_.Pages().RunStartPageActions();
        return true;
    }
    skin::SkinnedPage* start = host_.Pages().ShowStartPage();
    if (state_.splashShown) RaiseSplash();
    // The start page's actions cancelled or abandoned the setup: the complete
    // or the error page is up and nothing is to be installed. A splash has
    // nothing left to wait for.
    if (core::CurrentRun().Stopped()) {
        state_.splashMayClose = state_.splashShown;
        return true;
    }
    HWND bar = start ? start->ControlWindow("IDC_PROGRESS1") : nullptr;
    cabinet::ProgressBarTarget progress(bar);
    host_.Pages().SetWorkerRunning(true);
    const bool extracted = cabinet::ExtractCabinet(cabinet::PayloadCabinetPath(state_.sourceFolder),
                                                   state_.workingFolder, &progress);
    host_.Pages().SetWorkerRunning(false);
    core::trace::Value("preparation extraction", extracted ? "done" : "failed");
    // Whatever page follows (the first one, the complete or the error page),
    // the splash must not stay in front of it.
    state_.splashMayClose = state_.splashShown;
    if (core::CurrentRun().Stopped()) {
        // Cancelled on the start page: no wizard page follows but the complete page.
        core::RemoveWorkingFolder(state_);
        host_.Pages().ShowCompletePage();
        return true;
    }
    if (!extracted) return false;
    if (state_.splashShown) {
        host_.StartTimer(StartupHost::Timer::AfterPreparation);
    } else {
        host_.CloseStartPage();
    }
    return true;
}

void StartupDriver::ReadFileActions() { host_.Pages().ReadFileActions(); }

// The entries themselves are read when they run, after the installation;
// the engine keeps the working folder for them.
void StartupDriver::ReadMergeModules() {
    state_.mergeModulesPending = install::HasMergeModules(state_.settingsPath);
    core::trace::Value("merge modules pending", core::FlagText(state_.mergeModulesPending));
}

// True when a splash window was made: the first page then waits for it.
bool StartupDriver::SplashStep() { return OpenSplash(state_, host_.Window()); }

// The background behind the wizard, when the project has one; never in an
// unattended run, which shows no window.
void StartupDriver::OpenBackgroundWindow() {
    namespace k = core::keys::background;
    const std::string& ini = state_.settingsPath;
    background::BackgroundSettings s;
    s.enabled = core::settings::Read(ini, k::kSection, k::kEnabled);
    if (!background::BackgroundWanted(s, state_.unattended)) {
        core::trace::Value(core::tracenames::kBackground, "off");
        return;
    }
    s.title = core::settings::Read(ini, k::kSection, k::kTitle);
    s.footer = core::settings::Read(ini, k::kSection, k::kFooter);
    s.topColor = core::settings::Read(ini, k::kSection, k::kTopColor);
    s.bottomColor = core::settings::Read(ini, k::kSection, k::kBottomColor);
    s.picture = core::settings::Read(ini, k::kSection, k::kPicture);
    const std::string path = background::PicturePathTemplate(state_.workingFolderName, s.picture, GetACP());
    host_.OpenBackground(s, path.empty() ? path : Expand(path));
}

// The billboards, shown one after another on their own thread while the
// wizard goes on; an unattended run shows none.
void StartupDriver::ReadBillboards() {
    if (state_.unattended) return core::trace::Value(core::tracenames::kBillboards, "0");
    const std::string& ini = state_.settingsPath;
    auto billboards = billboard::ReadBillboards(
        [&ini](const std::string& key, int size) {
            return core::settings::Read(ini, core::keys::billboardscv::kSection, key.c_str(), size);
        },
        GetACP());
    core::trace::Value(core::tracenames::kBillboards, std::to_string(billboards.size()));
    if (!billboards.empty()) host_.StartBillboards(std::move(billboards));
}

}  // namespace control
