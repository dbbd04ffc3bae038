#include "install/addons/MergeModules.h"

#include "core/Folders.h"
#include "core/RunProgram.h"
#include "core/Settings.h"
#include "core/SettingsKeys.h"
#include "core/Trace.h"

namespace install {

namespace {

namespace k = core::keys::mergemodules;

class SetupMergeModuleRunner : public mergemodules::MergeModuleRunner {
public:
    SetupMergeModuleRunner(const core::SetupState& state,
                           const std::function<bool(const std::string&)>& conditionHolds)
        : state_(state), conditionHolds_(conditionHolds) {}

    std::string Expand(const std::string& text) const override { return core::ExpandSetupText(state_, text); }
    bool ConditionHolds(const std::string& name) override { return conditionHolds_(name); }
    bool Cancelled() const override { return core::CurrentRun().Stopped(); }
    bool FileExists(const std::string& path) const override { return core::folders::IsFile(path); }

    mergemodules::ProgramEnd RunAddOnProgram(const std::string& path, const std::string& arguments) override {
        core::trace::Value("add-on program", path + "|" + arguments);
        return Ended(core::RunProgramAndWait(path, arguments));
    }

    void Refused(const std::string& program) override {
        core::trace::Value("add-on program refused, not a full path", program);
    }

    // Started by its full path: the command line names it for the program only.
    mergemodules::ProgramEnd RunPackageInstaller(const std::string& commandLine) override {
        core::trace::Value("merge modules", commandLine);
        return Ended(core::RunCommandLineAndWait(state_.systemFolder + mergemodules::kPackageInstaller,
                                                 commandLine));
    }

private:
    static mergemodules::ProgramEnd Ended(const core::ProgramRun& run) {
        if (run.started) core::trace::Value("add-on exit code", std::to_string(run.exitCode));
        return {run.started, run.exitCode};
    }

    const core::SetupState& state_;
    const std::function<bool(const std::string&)>& conditionHolds_;
};

}  // namespace

bool HasMergeModules(const std::string& settingsPath) {
    return core::settings::ReadListCount(settingsPath, k::kSection) != 0;
}

mergemodules::AddOnOutcome RunMergeModules(const core::SetupState& state,
                                           const std::function<bool(const std::string&)>& conditionHolds) {
    const std::string& ini = state.settingsPath;
    const mergemodules::MergeModules entries = mergemodules::ReadMergeModules(
        [&ini](const std::string& key) { return core::settings::Read(ini, k::kSection, key.c_str()); });
    mergemodules::MergeModuleSetup setup;
    setup.sourceFolder = state.sourceFolder;
    setup.osName = state.osName;
    setup.features = &state.features;
    SetupMergeModuleRunner runner(state, conditionHolds);
    return mergemodules::RunMergeModules(entries, setup, runner);
}

}  // namespace install
