#include "install/addons/MergeModuleRules.h"

#include "core/SettingsKeys.h"
#include "core/SettingsRules.h"
#include "install/files/FileRules.h"
#include "util/Text.h"

namespace install::mergemodules {

namespace {

namespace k = core::keys::mergemodules;

// The exit codes of the Windows Installer (and of installers that follow
// it) for "the changes take effect after a restart" and "a restart was started".
constexpr unsigned long kExitRestartRequired = 3010;
constexpr unsigned long kExitRestartInitiated = 1641;

}  // namespace

MergeModules ReadMergeModules(const MergeModuleKeyReader& read) {
    const int total = core::settings::ParseNumber(read(core::keys::kTotal).c_str());
    MergeModules entries;
    for (int i = 0; i < total && entries.size() < kMaxMergeModules; ++i) {
        auto field = [&read, i](const char* letter) { return read(core::settings::ListKey(letter, i)); };
        MergeModule m;
        m.program = field(k::kProgram);
        m.commandLine = field(k::kCommandLine);
        m.systemMask = core::settings::ParseNumber(field(k::kSystemMask).c_str());
        m.feature = field(k::kFeature);
        m.condition = field(k::kCondition);
        entries.push_back(std::move(m));
    }
    return entries;
}

bool NamesAddOnProgram(const std::string& program) {
    // Judged by the file's own name, not by a folder on its way.
    const size_t slash = program.find_last_of("\\/");
    const std::string name = slash == std::string::npos ? program : program.substr(slash + 1);
    return util::text::AsciiLower(name).find(".exe") != std::string::npos;
}

std::string AddOnProgramPath(const std::string& program, const std::string& sourceFolder) {
    return util::text::ReplaceAll(program, kResourceDir, sourceFolder + kSupportFolder);
}

std::vector<std::string> PackageLocations(const std::string& sourceFolder) {
    return {sourceFolder + kPackageName, sourceFolder + kSupportFolder + "\\" + kPackageName};
}

std::string PackageCommandLine(const std::string& package) {
    return util::text::ReplaceAll(kPackageCommandFormat, "%s", package);
}

bool MeansRestartRequired(unsigned long exitCode) {
    return exitCode == kExitRestartRequired || exitCode == kExitRestartInitiated;
}

bool Failed(const ProgramEnd& end) {
    return !end.started || (end.exitCode != 0 && !MeansRestartRequired(end.exitCode));
}

AddOnOutcome RunMergeModules(const MergeModules& entries, const MergeModuleSetup& setup,
                             MergeModuleRunner& runner) {
    AddOnOutcome outcome;
    auto note = [&outcome](const std::string& what, const ProgramEnd& end) {
        if (end.started && MeansRestartRequired(end.exitCode)) outcome.restart = true;
        if (Failed(end))
            outcome.failures.push_back(what + ": " + (end.started ? "exit code " + std::to_string(end.exitCode)
                                                                  : std::string("not started")));
    };
    for (const MergeModule& m : entries) {
        const bool holds = runner.ConditionHolds(m.condition);
        if (runner.Cancelled()) break;
        const bool allowed = holds && filerules::SystemMaskMatches(m.systemMask, setup.osName) &&
                             !(setup.features && setup.features->IsExcluded(m.feature));
        if (!allowed) continue;
        if (NamesAddOnProgram(m.program)) {
            const std::string program = runner.Expand(AddOnProgramPath(m.program, setup.sourceFolder));
            if (util::text::IsFullPath(program))
                note(program, runner.RunAddOnProgram(program, runner.Expand(m.commandLine)));
            else {
                runner.Refused(program);
                outcome.failures.push_back(program + ": not started, not a full path");
            }
        }
        for (const std::string& package : PackageLocations(setup.sourceFolder)) {
            if (!runner.FileExists(package)) continue;
            note(package, runner.RunPackageInstaller(runner.Expand(PackageCommandLine(package))));
            break;
        }
    }
    return outcome;
}

}  // namespace install::mergemodules
