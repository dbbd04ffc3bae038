#include "control/InstallationRun.h"

#include "core/ExitCodes.h"
#include "core/Trace.h"
#include "core/TraceNames.h"
#include "core/UninstallLog.h"
#include "core/WorkingFolder.h"
#include "install/InterruptedRun.h"
#include "install/addons/MergeModules.h"
#include "pages/ProgressPage.h"
#include "pages/Wizard.h"

namespace control {

namespace {

// The add-on page is up this long before its programs start.
constexpr UINT kAddOnDelayMs = 1000;

core::ending::EngineResult EngineResultOf(install::RunOutcome outcome) {
    using core::ending::EngineResult;
    switch (outcome) {
    case install::RunOutcome::Completed: return EngineResult::Completed;
    case install::RunOutcome::Cancelled: return EngineResult::Cancelled;
    case install::RunOutcome::Abandoned: return EngineResult::Abandoned;
    case install::RunOutcome::Failed: return EngineResult::Failed;
    }
    return EngineResult::Failed;
}

}  // namespace

void InstallationRun::Install() {
    state_.installFolder = state_.currentInstallFolder;
    core::trace::Value(core::tracenames::kHandOverFolder, state_.installFolder);
    install::RunOutcome outcome;
    {
        pages::ProgressPageSink progress(wizard_.CurrentPage());
        install::InstallEngine engine(MakeEngineSetup(), &progress);
        outcome = engine.Run();
    }
    engine_ = EngineResultOf(outcome);
    completed_ = outcome == install::RunOutcome::Completed;
    core::trace::Value("installation ended, abort flag", core::FlagText(core::CurrentRun().Stopped()));
    const core::ending::RunEnding ending = Decide(core::ending::Moment::AfterEngine);
    // The engine's worker has ended: nothing reads the working folder now
    // but the add-on programs still to come.
    if (ending.next == core::ending::NextStep::CompletePage) core::RemoveWorkingFolder(state_);
    wizard_.Follow(ending);
    if (ending.next == core::ending::NextStep::AddOnPage) SetTimer(frame_, kAddOnTimer, kAddOnDelayMs, nullptr);
}

// The working folder they needed goes afterwards; a condition asked on the
// way may have cancelled the run.
void InstallationRun::RunAddOns() {
    KillTimer(frame_, kAddOnTimer);
    core::trace::Line("add-on programs and merge modules");
    auto conditionHolds = [this](const std::string& name) { return wizard_.ConditionHolds(name); };
    const install::mergemodules::AddOnOutcome outcome = install::RunMergeModules(state_, conditionHolds);
    if (outcome.restart) state_.restartRequired = true;
    state_.addOnFailures = outcome.failures;
    core::trace::Value("restart required", core::FlagText(state_.restartRequired));
    for (const std::string& failure : outcome.failures) core::trace::Value(core::tracenames::kAddOnFailed, failure);
    state_.mergeModulesPending = false;
    core::RemoveWorkingFolder(state_);
    wizard_.Follow(Decide(core::ending::Moment::AfterAddOns));
}

core::ending::RunFacts InstallationRun::Facts(core::ending::Moment moment, bool abandoned) const {
    core::ending::RunFacts f;
    f.moment = moment;
    f.engine = engine_;
    f.unattended = state_.unattended;
    f.cancelRequested = core::CurrentRun().CancelRequested();
    f.abandoned = abandoned || core::CurrentRun().State() == core::RunState::Abandoned;
    f.addOnsPending = state_.mergeModulesPending;
    f.addOnFailed = !state_.addOnFailures.empty();
    f.restartRequired = state_.restartRequired;
    return f;
}

core::ending::RunEnding InstallationRun::Decide(core::ending::Moment moment, bool abandoned) {
    const core::ending::RunEnding ending = core::ending::DecideEnding(Facts(moment, abandoned));
    if (ending.installation == core::ending::Installation::RolledBack) RollBack();
    return ending;
}

void InstallationRun::End(int exitCode) {
    if (completed_) {
        if (core::ending::IsInstalledCode(exitCode)) {
            completed_ = false;
            install::CommitRun(state_.productCode, UninstallFolder(), UninstallerFolder(), state_.scope);
        } else {
            RollBack();
        }
    }
    PostQuitMessage(exitCode);
}

void InstallationRun::RollBack() {
    if (!completed_) return;  // a run that did not complete was undone by the engine
    completed_ = false;
    core::trace::Line("rolling back the completed installation");
    install::RollBackRun(state_.productCode, UninstallFolder(), UninstallerFolder(), state_.scope);
}

std::string InstallationRun::UninstallFolder() const {
    return core::UninstallFolderOf(state_);
}

std::string InstallationRun::UninstallerFolder() const {
    return core::ExpandSetupText(state_, core::scope::UninstallerFolderTemplate(state_.scope));
}

install::EngineSetup InstallationRun::MakeEngineSetup() const {
    const core::SetupState& s = state_;
    install::EngineSetup e;
    e.values = core::PlaceholderValuesOf(s);
    e.shellFolders = s.special;
    e.scope = s.scope;
    e.currentInstallFolder = s.currentInstallFolder;
    e.defaultInstallFolder = s.defaultInstallFolder;
    e.windowsFolder = s.windowsFolder;
    e.sourceFolder = s.sourceFolder;
    e.singleFileName = s.packageFileName;
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
