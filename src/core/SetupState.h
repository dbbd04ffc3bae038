// Everything start-up learns about the machine and the project, held by the
// main frame for the whole run and read by the pages and, through a snapshot,
// by the installation engine.
#pragma once

#include <atomic>
#include <cstdint>
#include <string>
#include <vector>

#include "core/Conditions.h"
#include "core/FeatureTable.h"
#include "core/InstallScopeRules.h"
#include "core/Placeholders.h"

namespace core {

struct SpecialFolderValues {
    std::string favorites;
    std::string sharedDocuments;
    std::string pictures;
    std::string programMenu;
    std::string music;
    std::string sendTo;
    std::string fonts;
    std::string appData;
    std::string documents;
    std::string startupMenu;
    std::string startMenu;
    std::string desktop;
};

// One project variable: its value feeds the placeholder expansion.
struct SetupVariable {
    std::string name;
    std::string description;
    std::string value;
};

struct SetupState {
    // Folders discovered at start-up.
    std::string windowsFolder;      // no trailing backslash
    std::string windowsVolume;      // "C:"
    std::string tempFolder;         // trailing backslash
    std::string sourceFolder;       // trailing backslash
    std::string systemFolder;       // trailing backslash
    std::string themeFolder;        // source folder + "theme\"
    std::string languageFilePath;   // source folder + "language.lan"
    std::string workingFolderName;  // "cvHHMMSS", or "cvHHMMSS_N" when that was taken
    std::string workingFolder;      // temp folder + name + "\"
    std::string programFilesFolder;
    std::string commonFilesFolder;
    SpecialFolderValues special;          // the column of `scope` (ApplyScope)
    SpecialFolderValues perUserFolders;   // the user's own shell folders
    SpecialFolderValues allUsersFolders;  // everyone's (common) shell folders
    std::string localAppDataFolder;       // the user's local application data, no trailing backslash

    // Project files after decryption.
    std::string settingsPath;  // working folder + "setup.inf"
    std::string dataPath;      // working folder + "data.inf"

    // Identity and product values.
    std::string loginName;
    std::string customerName;  // starts as the login name; the customer page edits it
    std::string companyName;
    std::string productName;
    std::string publisher;
    std::string productVersion;
    std::string productCode;
    std::string installFolder;         // current; trailing backslash
    std::string defaultInstallFolder;  // as the project gave it; trailing backslash
    std::string currentInstallFolder;  // shown and changed by the destination page
    std::string languageName;
    // The complete page's launches as the project writes them (placeholders
    // unexpanded): expanded when used, after the destination is chosen.
    std::string launchFile;        // DIALOGLIST CT10
    std::string launchParameters;  // CT11
    std::string readmeFile;        // CT13
    bool showLaunchFile = true;    // CT9
    bool showLaunchReadme = true;  // CT12
    std::string customerRegistryRoot;  // CT17
    std::string customerRegistryKey;   // CT18
    std::string osName;
    std::vector<SetupVariable> variables;  // at most 50, in settings order
    core::Conditions conditions;           // at most 30, in settings order
    core::FeatureTable features;      // the custom setup page changes their states
    std::string appliedLanguageFile;       // the language file applied to the theme, or ""

    // Given on the command line (control/CommandLine.h), before anything is read.
    bool silentSwitch = false;       // /S: unattended, whatever the project says
    std::string commandLineFolder;   // /D=: the installation folder, as if chosen on the destination page
    // Before anything is read too: the folder a single-file setup unpacked its
    // package into (trailing backslash), which is then the run's source
    // folder; "" for a folder package, whose source folder is looked for.
    std::string packageFolder;
    // The single file's own name (UTF-8, no folder), which the setup kept for
    // repair records; "" for a folder package.
    std::string packageFileName;

    // Flags.
    bool diskImage = false;
    bool splashShown = false;
    bool splashMayClose = false;
    bool splashFinished = false;
    bool unattended = false;
    bool preview = false;
    std::string scopeSetting;  // APPINFO a8 as written
    scope::InstallScope scope = scope::InstallScope::AllUsers;  // set through ApplyScope
    bool noAdministrator = false;
    int32_t setupType = -1;
    bool launchFileChosen = false;
    bool launchReadmeChosen = false;
    bool installForAnyone = true;  // the customer page's anyone / only-for-me choice: scope is AllUsers
    bool finished = false;         // the run was aborted: page moves are ignored
    bool mergeModulesPending = false;
    bool restartRequired = false;  // an add-on program or merge module asked for a restart
    // The add-on programs and packages that failed ("path: exit code N"): the
    // installation stands, but the run says so (complete page, exit code).
    std::vector<std::string> addOnFailures;
};

// How far the run has got: one state for the whole process, shared with the
// installation's worker thread (written by one thread, polled by the other).
enum class RunState {
    Running,          // nothing has stopped the run
    CancelRequested,  // the user confirmed leaving, or a condition ran CancelInstall();
    Abandoned         // stopped at a failed step, or the installation could not run
};

class RunStatus {
public:
    RunState State() const { return state_.load(); }
    // Cancelled or abandoned: the run will not install.
    bool Stopped() const { return State() != RunState::Running; }
    bool CancelRequested() const { return State() == RunState::CancelRequested; }
    void RequestCancel() { state_.store(RunState::CancelRequested); }
    // A cancel already asked for stays what it was: the user's request.
    void Abandon() {
        RunState running = RunState::Running;
        state_.compare_exchange_strong(running, RunState::Abandoned);
    }
    void Reset() { state_.store(RunState::Running); }

private:
    std::atomic<RunState> state_{RunState::Running};
};

RunStatus& CurrentRun();

// A flag as the trace shows it: "255" on, "0" off.
inline const char* FlagText(bool on) { return on ? "255" : "0"; }

// The placeholder values of the setup expansion, as the state holds them now.
PlaceholderValues PlaceholderValuesOf(const SetupState& state);

// Makes `scope` the run's: the shell folders of its column, the customer
// page's choice, and the trace line tests read.
void ApplyScope(SetupState& state, scope::InstallScope scope);

// The run's uninstall folder (trailing backslash) and uninstaller, expanded
// for its scope.
std::string UninstallFolderOf(const SetupState& state);
// The setup expansion of a project text with the values known now.
std::string ExpandSetupText(const SetupState& state, const std::string& text);
// Deletes the working folder with everything in it (nothing when it is gone).
void RemoveWorkingFolder(const SetupState& state);

}  // namespace core
