// What an install action sees of the run it belongs to: the snapshot of the
// setup state, the engine expansion, the uninstall log, where payload files
// lie, the progress display, the cancel request and the user's answers. The
// engine implements it for a real run; tests implement it to run one action
// in-process.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "core/FeatureTable.h"
#include "core/InstallScopeRules.h"
#include "core/Placeholders.h"
#include "core/SetupState.h"
#include "core/UninstallLog.h"
#include "core/FileList.h"
#include "download/ProgressDisplay.h"

namespace install {

// What the engine takes from the setup state at the hand-over.
struct EngineSetup {
    core::PlaceholderValues values;           // installDir = the folder chosen for this run
    core::SpecialFolderValues shellFolders;   // the shell folders shortcuts go into: the scope's column
    // Everyone's or the user's: where the product is registered, its
    // uninstall folder and uninstaller (core/InstallScopeRules.h).
    core::scope::InstallScope scope = core::scope::InstallScope::AllUsers;
    std::string currentInstallFolder;   // chosen folder, trailing backslash
    std::string defaultInstallFolder;   // the project's folder, trailing backslash
    std::string windowsFolder;
    std::string sourceFolder;           // trailing backslash
    std::string singleFileName;         // the single file the run came from (UTF-8), "" for a folder package
    std::string workingFolder;          // trailing backslash
    std::string themeFolder;
    std::string pageLanguageFile;       // the language file the pages were shown in, or ""
    std::string settingsPath;           // setup.inf
    std::string dataPath;               // data.inf
    std::string osName;
    bool preview = false;
    bool diskImage = false;
    bool mergeModulesPending = false;
    // No one answers dialogs: every question gets its fixed answer.
    bool unattended = false;
    core::FeatureTable features;
    // The project's variables (their values also feed `values`) and the
    // conditions that items ask by name (install/ConditionQuery.h).
    std::vector<core::SetupVariable> variables;
    core::Conditions conditions;
};

class InstallContext;

// The run's uninstall folder, expanded, with a trailing backslash.
std::string UninstallFolderOf(const InstallContext& context);

// The user's answer to a failed step.
enum class ErrorChoice { Retry = 1, Ignore = 2, Cancel = 3 };

// A question an action puts to the user.
struct Question {
    std::string text;
    bool cancelOnly = false;  // only Cancel is offered (the run stops whatever is answered)
};

enum class ActionResult {
    Continue,  // the next action follows
    Stop       // the run ends here (cancelled or abandoned)
};

class InstallContext {
public:
    virtual ~InstallContext() = default;

    virtual const EngineSetup& Setup() const = 0;
    // The engine expansion of a project text.
    virtual std::string Expand(const std::string& text) const = 0;
    // Appends a record to the uninstall log (a record that cannot be written is dropped).
    virtual void Log(core::LogKind kind, const std::string& value) = 0;
    // Puts the records logged so far on the disk, before a step that moves
    // or deletes what the machine held (a backup's rename).
    virtual void MakeLogDurable() {}
    // The records this run logged so far, in order.
    virtual const std::vector<core::LogRecord>& Logged() const = 0;
    // Whether the product's earlier log (this run goes over an installed
    // product) holds this record: what an earlier run made stays the
    // product's when this run finds it in place. False without one.
    virtual bool EarlierRunOwned(core::LogKind, const std::string&) const { return false; }
    // The product's earlier log whole, in file order; empty without one.
    virtual const std::vector<core::LogRecord>& EarlierLogged() const {
        static const std::vector<core::LogRecord> none;
        return none;
    }
    // Where the payload file of the record at zero-based position `index` lies.
    virtual std::string PayloadFilePath(size_t index, const std::string& fileName) const = 0;
    // The file records, read once by the first action and kept for the run.
    virtual std::vector<core::filelist::FileRecord>& FileRecords() = 0;

    // The progress display (status line, bar); nothing happens without one.
    virtual void SetStatus(const std::string& text) = 0;
    virtual void SetProgressRange(int count) = 0;
    virtual void SetProgressPosition(int position) = 0;
    // Where a web item's transfer shows its progress; null without a display.
    virtual download::ProgressDisplay* DownloadDisplay() { return nullptr; }

    // The user confirmed cancelling: actions stop before their next item.
    virtual bool CancelRequested() const = 0;
    // Ends the run as abandoned: the working folder goes and the run is
    // marked aborted, so the setup error page follows.
    virtual void Abandon() = 0;
    // Marks the run abandoned while its remaining actions still run (a
    // service the user gave up): the setup error page follows, and the
    // working folder goes with the last action as in any run.
    virtual void MarkAbandoned() = 0;
    // Asks the user; an unattended run answers Cancel without showing anything.
    virtual ErrorChoice Ask(const Question& question) = 0;
    // Tells the user about an error that ends the run (nothing in an
    // unattended run).
    virtual void ReportError(int number, const std::string& message) = 0;
    // Shows a project's message (a condition's ShowMessage action) and
    // returns once it was read; nothing in an unattended run, nor in a
    // context without a display, which is why this one has a default.
    virtual void ShowMessage(const std::string&) {}
};

inline std::string UninstallFolderOf(const InstallContext& context) {
    return context.Expand(core::scope::UninstallFolderTemplate(context.Setup().scope));
}

}  // namespace install
