// File actions: programs, web addresses and library functions a project
// attaches to wizard pages. They run before their page is shown (once for the
// start page) and after Finish. The rules here are portable: which actions a
// page runs, in which order, run-once, system masks and conditions. Starting
// the programs and calling the libraries is the caller's (FileActionRunner).
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace pages {

// Surplus items of a damaged count are not read.
constexpr size_t kMaxFileActions = 1000;
// The text buffer a library function receives: the installation folder,
// which the function may rewrite within these bytes (terminator included).
constexpr size_t kFileActionBufferSize = 255;

// One FILEACTION item; texts as the project wrote them (expanded when run,
// so that <InstallDir> is the folder the user chose).
struct FileAction {
    std::string file;        // "B": a program (".exe"), a library (".dll") or an "http" address
    std::string command;     // "C": a program's arguments, or a library's function name
    std::string when;        // "E": a page title or layout file, or "After Click Finish Button"
    bool runOnce = false;    // "G" is "Yes"
    bool wait = false;       // "H" is "Yes"
    int32_t systemMask = 0;  // "L"
    std::string condition;   // "M"
    bool done = false;       // a run-once action has started (or was passed over)
};

using FileActions = std::vector<FileAction>;

// Reads one key of the FILEACTION section ("" when it is missing).
using FileActionKeyReader = std::function<std::string(const std::string& key)>;

// The FILEACTION list: "TOTAL", then per item i the keys "B<i>" ... "M<i>";
// at most kMaxFileActions items.
FileActions ReadFileActions(const FileActionKeyReader& read);

// What an (expanded) file names.
enum class FileActionKind {
    None,     // neither: nothing is done
    Address,  // begins with "http": opened with the shell, not waited for
    Program,  // contains ".exe" (any case)
    Library   // contains ".dll" (any case)
};
FileActionKind KindOfFileAction(const std::string& file);

// Whether the action runs at `trigger`: a layout file name ("welcome.lcd")
// or "After Click Finish Button". Its page may be given by title ("Install
// Welcome") or by layout file name.
bool RunsAt(const FileAction& action, const std::string& trigger);

// What running the actions needs from where they run.
class FileActionRunner {
public:
    virtual ~FileActionRunner() = default;
    // The expansion of the file and the command (placeholders, variables).
    virtual std::string Expand(const std::string& text) const = 0;
    // The project's condition of that name (its actions run when it holds).
    virtual bool ConditionHolds(const std::string& name) = 0;
    // True once a condition asked here has cancelled the setup: no further
    // action runs.
    virtual bool Cancelled() const = 0;
    virtual void RunProgram(const std::string& path, const std::string& arguments, bool wait) = 0;
    virtual void OpenAddress(const std::string& address) = 0;
    // Calls the library's function with the installation folder in a
    // kFileActionBufferSize-byte buffer; its result (0 when it could not be
    // called).
    virtual int CallLibrary(const std::string& path, const std::string& function) = 0;
    // A program or library not named by a full path: left alone.
    virtual void Refused(const std::string& file) = 0;
};

enum class FileActionsOutcome { Done, Abandoned };

// A library function's result that abandons the setup.
constexpr int kAbandonSetup = 1;

// Runs, in list order, every action that runs at `trigger` and is not done:
// a run-once action is marked done before anything else, so that one whose
// system or condition does not allow it now is not tried again later; then
// the system mask (`osName`, as the file rules read it) and the condition
// must allow it. Stops after a library function returns kAbandonSetup
// (Abandoned) or once a condition cancelled the setup.
FileActionsOutcome RunFileActions(FileActions& actions, const std::string& trigger,
                                  const std::string& osName, FileActionRunner& runner);

}  // namespace pages
