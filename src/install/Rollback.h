// Undoing a run that did not complete (cancelled, abandoned at a failed
// step): the undo steps of UndoActions.h over the records the run logged,
// the same steps a removal runs, on the calling thread (the installation's
// worker), while the progress page shows "Rolling back..." with the step's
// status below it and a bar of one unit per record.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "install/ProgressSink.h"
#include "install/UndoContext.h"

namespace install {

class Rollback : public UndoContext {
public:
    // `progress` may be null (no display).
    Rollback(const UndoSetup& setup, std::vector<core::LogRecord> records, ProgressSink* progress);

    // Runs every undo step; true when nothing was left over.
    bool Run();

    // UndoContext
    const UndoSetup& Setup() const override { return setup_; }
    const std::vector<core::LogRecord>& Records() const override { return records_; }
    void SetStatus(const std::string& text) override;
    void Advance() override;
    void LeftOver(const std::string& what) override;
    bool AnythingLeftOver() const override { return leftOver_; }
    void RestartNeeded(const std::string& what) override;
    void WaitForProcess(HANDLE process) override;

private:
    UndoSetup setup_;
    std::vector<core::LogRecord> records_;
    ProgressSink* progress_;
    int position_ = 0;
    bool leftOver_ = false;
};

// The undo setup of a rollback of the product's run: its uninstall folder,
// the uninstaller's folder (the Windows folder for everyone's product), its
// scope and the protected folders. `registeredBefore`: the product was in the list of programs
// before the run, whose registration and uninstall folder then stay.
UndoSetup RollbackSetup(const std::string& productCode, const std::string& uninstallFolder,
                        const std::string& uninstallerFolder, core::scope::InstallScope scope,
                        bool registeredBefore);

}  // namespace install
