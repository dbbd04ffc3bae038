// One removal: the undo steps of install/UndoActions.h over the records of
// the product's log, on a worker thread while the calling (user-interface)
// thread keeps dispatching messages. The remover is the steps' context: it
// holds the log's records, moves the display on and gathers the report of
// what could not be removed.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "install/UndoContext.h"
#include "uninstall/RemovalDisplay.h"
#include "uninstall/RemovalReport.h"

namespace uninstall {

class Remover : public install::UndoContext {
public:
    // `display` may be null (a silent removal).
    Remover(const install::UndoSetup& setup, std::vector<core::LogRecord> records, RemovalDisplay* display);

    // Runs every step and returns when the worker has ended; false when the
    // worker thread could not be started (nothing was removed). The log's
    // lines of unknown kinds are reported as skipped.
    bool Run();
    const RemovalReport& Report() const { return report_; }

    // UndoContext
    const install::UndoSetup& Setup() const override { return setup_; }
    const std::vector<core::LogRecord>& Records() const override { return records_; }
    void SetStatus(const std::string& text) override;
    void Advance() override;
    void LeftOver(const std::string& what) override;
    // Whether something stays: LeftOver was called, or the log has lines of
    // kinds nobody removes. The last step keeps the product's registration
    // and log then, so that the removal can be started again (by a newer
    // uninstaller for the lines this one does not know).
    bool AnythingLeftOver() const override { return !report_.leftOver.empty() || !report_.skippedLines.empty(); }
    void RestartNeeded(const std::string& what) override;
    void WaitForProcess(HANDLE process) override;

private:
    static DWORD WINAPI WorkerEntry(void* self);
    void RunSteps();

    install::UndoSetup setup_;
    std::vector<core::LogRecord> records_;
    RemovalDisplay* display_;
    RemovalReport report_;
    int position_ = 0;
};

}  // namespace uninstall
