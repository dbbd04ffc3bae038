// Add-on programs and merge modules: run after the installation, from the
// add-on page, while the working folder is still there. Each entry may start
// an add-on program and then installs the project's merge-module package
// with the platform's Windows Installer. The rules here are portable; starting
// and waiting is the caller's (MergeModuleRunner).
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "core/FeatureTable.h"

namespace install::mergemodules {

// Surplus items of a damaged count are not read.
constexpr size_t kMaxMergeModules = 1000;
// Stands in an add-on program's path for the folder of files shipped beside
// the setup: the source folder followed by kSupportFolder.
constexpr char kResourceDir[] = "<ResourceDir>";
constexpr char kSupportFolder[] = "SupportFiles";
// The project's package of merge modules, beside the setup or in kSupportFolder.
constexpr char kPackageName[] = "mergemod.msi";
// The Windows Installer's command line for a package (printf form; the
// placeholder is expanded afterwards).
constexpr char kPackageCommandFormat[] = "<SystemFolder>\\msiexec.exe /i \"%s\" /q";
// The Windows Installer's program in the system folder.
constexpr char kPackageInstaller[] = "msiexec.exe";

// One MERGEMODULES item, as the project wrote it.
struct MergeModule {
    std::string program;      // "C": an add-on program when it names an ".exe"
    std::string commandLine;  // "D": its command line
    int32_t systemMask = 0;   // "E"
    std::string feature;      // "F": feature, or empty
    std::string condition;    // "G": condition name
};

using MergeModules = std::vector<MergeModule>;

// Reads one key of the MERGEMODULES section ("" when it is missing).
using MergeModuleKeyReader = std::function<std::string(const std::string& key)>;

// "TOTAL", then per item i the keys "C<i>" ... "G<i>"; at most kMaxMergeModules.
MergeModules ReadMergeModules(const MergeModuleKeyReader& read);

// Whether the entry names an add-on program: ".exe" in its text, any case.
bool NamesAddOnProgram(const std::string& program);

// The program with every kResourceDir replaced by the source folder (trailing
// backslash) followed by kSupportFolder.
std::string AddOnProgramPath(const std::string& program, const std::string& sourceFolder);

// The package locations, in the order they are looked at: beside the setup,
// then in its kSupportFolder.
std::vector<std::string> PackageLocations(const std::string& sourceFolder);

// The Windows Installer's command line for the package, before expansion.
std::string PackageCommandLine(const std::string& package);

// The exit codes by which a program says a restart completes its work
// (restart required, restart started).
bool MeansRestartRequired(unsigned long exitCode);

// How a program run ended: not started, or its exit code.
struct ProgramEnd {
    bool started = false;
    unsigned long exitCode = 0;
};

// What running the entries needs from where they run.
class MergeModuleRunner {
public:
    virtual ~MergeModuleRunner() = default;
    virtual std::string Expand(const std::string& text) const = 0;
    // The project's condition of that name (its actions run when it holds).
    virtual bool ConditionHolds(const std::string& name) = 0;
    // Whether a condition's action cancelled the installation: no later
    // program or package runs for a product that is being taken back.
    virtual bool Cancelled() const { return false; }
    virtual bool FileExists(const std::string& path) const = 0;
    // An add-on program (expanded path and command line), waited for.
    virtual ProgramEnd RunAddOnProgram(const std::string& path, const std::string& arguments) = 0;
    // An add-on program not named by a full path: left alone.
    virtual void Refused(const std::string& program) = 0;
    // The Windows Installer with the (expanded) command line, waited for.
    virtual ProgramEnd RunPackageInstaller(const std::string& commandLine) = 0;
};

// What the entries' run needs to know of the setup.
struct MergeModuleSetup {
    std::string sourceFolder;  // trailing backslash
    std::string osName;        // as the file rules read it
    const core::FeatureTable* features = nullptr;  // null: every feature is installed
};

// Whether a program run failed: it could not be started, or it ended with a
// code other than success (0) or a restart request (3010, 1641).
bool Failed(const ProgramEnd& end);

// How the entries' programs ended: whether one asked for a restart, and
// each that failed ("C:\Toolsddon.exe: exit code 1603", "...: not started").
struct AddOnOutcome {
    bool restart = false;
    std::vector<std::string> failures;
};

// Runs every entry in order. Its condition is asked once (its actions run
// when it holds, whatever the system); the entry is allowed when it holds,
// the system mask matches and its feature is not excluded. An allowed
// entry first runs its add-on program, when it names one by its full path
// (util::text::IsFullPath), and then installs the package, when one of the
// locations holds it (the first that does). A failure stops nothing: the
// installation stands, and the outcome says what failed; a program refused
// for its path counts as failed. A cancel by a condition stops the run.
AddOnOutcome RunMergeModules(const MergeModules& entries, const MergeModuleSetup& setup,
                             MergeModuleRunner& runner);

}  // namespace install::mergemodules
