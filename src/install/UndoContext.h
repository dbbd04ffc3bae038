// What an undo step sees when a product is removed (or a failed run rolled
// back): the records of the product's uninstall log, the folders it must
// never delete whole, the progress display, and where it reports what could
// not be removed. The uninstaller implements it; tests implement it to run
// one step in-process.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "core/InstallScopeRules.h"
#include "core/UninstallLog.h"

namespace install {

struct UndoSetup {
    std::string productCode;
    std::string uninstallFolder;    // <WindowsFolder>\Installer\<ProductCode>\, trailing backslash
    std::string uninstallerFolder;  // the folder the uninstaller runs from, trailing backslash
    // Everyone's product or a user's: the hive of its uninstall key.
    core::scope::InstallScope scope = core::scope::InstallScope::AllUsers;
    // Folders never deleted whole, even when a removal asks for it: the
    // Windows, system, program-files and common-files folders, the user
    // profile and the shell folders. Drive roots are refused by rule.
    std::vector<std::string> protectedFolders;
    bool silent = false;  // no window: nothing is asked, every question gets its default
    // A run that did not complete is undone: only what it did goes. The
    // product's uninstall-time program does not run (the product never was
    // installed), the remove-all choice does not apply (the folder may hold
    // what was there before), and productCode is empty when the product was
    // registered before the run, whose registration and folder then stay.
    bool rollback = false;
    // The product's own folders as the whole log names them (GuardRootsOf),
    // beside those the records of the undo name: a record left out of this
    // undo (one for the other purpose, or of the other log at a commit)
    // still tells where the product's folders begin.
    std::vector<std::string> guardedFolders;
};

class UndoContext {
public:
    virtual ~UndoContext() = default;

    virtual const UndoSetup& Setup() const = 0;
    // The log's records in file order.
    virtual const std::vector<core::LogRecord>& Records() const = 0;

    // The progress display; nothing happens without one.
    virtual void SetStatus(const std::string& text) = 0;
    // One record handled: the bar's unit is one record of the log.
    virtual void Advance() = 0;

    // Something the log names stays on the machine (the closing message
    // lists it; a silent removal ends with a non-zero exit code).
    virtual void LeftOver(const std::string& what) = 0;
    // Whether LeftOver was called during this removal: the last step keeps
    // the product's registration and log then, so that the removal can be
    // started again.
    virtual bool AnythingLeftOver() const = 0;
    // Something goes only at the next restart (a file in use, a service
    // still marked for deletion).
    virtual void RestartNeeded(const std::string& what) = 0;
    // Waits for a process the removal started, keeping the windows alive.
    virtual void WaitForProcess(HANDLE process) = 0;
};

// The records of `kind`, the newest first: a step undoes the latest change
// first, as a rollback must.
inline std::vector<const core::LogRecord*> NewestFirst(const UndoContext& context, core::LogKind kind) {
    std::vector<const core::LogRecord*> found;
    const std::vector<core::LogRecord>& records = context.Records();
    for (auto it = records.rbegin(); it != records.rend(); ++it)
        if (it->kind == kind) found.push_back(&*it);
    return found;
}

// The product's own folders a log names: its DIR lines and the
// installation folder.
inline std::vector<std::string> GuardRootsOf(const std::vector<core::LogRecord>& records) {
    std::vector<std::string> roots;
    for (const core::LogRecord& record : records)
        if ((record.kind == core::LogKind::Dir || record.kind == core::LogKind::InstallDir) && !record.value.empty())
            roots.push_back(record.value);
    return roots;
}

// The folders removal and rollback check, and every folder below them, for
// links (install/files/LinkGuard.h).
inline std::vector<std::string> GuardedFolders(const UndoContext& context) {
    std::vector<std::string> guarded = GuardRootsOf(context.Records());
    const std::vector<std::string>& more = context.Setup().guardedFolders;
    guarded.insert(guarded.end(), more.begin(), more.end());
    return guarded;
}

}  // namespace install
