// One installation run: the install actions in table order on a worker
// thread, while the calling (user-interface) thread keeps dispatching
// messages. The engine is the actions' context: it holds the snapshot of the
// setup state, the uninstall log and the file records of the run.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "core/UninstallLog.h"
#include "install/InstallContext.h"
#include "install/shared/OwnershipRules.h"
#include "install/ProgressSink.h"

namespace install {

// How a run ended.
enum class RunOutcome {
    Completed,  // every action ran
    Cancelled,  // the user cancelled; what the run did is rolled back
    Abandoned,  // stopped at a failed step (a copy the user gave up, an unreadable file list); rolled back
    Failed      // the run could not start: no worker thread, or COM refused to start on it
};

class InstallEngine : public InstallContext {
public:
    // `progress` (may be null) shows the run and answers its questions.
    InstallEngine(const EngineSetup& setup, ProgressSink* progress);
    ~InstallEngine() override;

    // Runs every action and returns when the worker has ended. Every outcome
    // but Completed leaves the abort flag set; a run that started and did not
    // complete is rolled back on the worker (install/Rollback.h) before it
    // ends.
    RunOutcome Run();

    // InstallContext
    const EngineSetup& Setup() const override { return setup_; }
    std::string Expand(const std::string& text) const override;
    void Log(core::LogKind kind, const std::string& value) override;
    void MakeLogDurable() override;
    const std::vector<core::LogRecord>& Logged() const override { return logged_; }
    bool EarlierRunOwned(core::LogKind kind, const std::string& value) const override {
        return earlier_.Owns(kind, value);
    }
    const std::vector<core::LogRecord>& EarlierLogged() const override { return earlierLogged_; }
    std::string PayloadFilePath(size_t index, const std::string& fileName) const override;
    std::vector<core::filelist::FileRecord>& FileRecords() override { return records_; }
    void SetStatus(const std::string& text) override;
    void SetProgressRange(int count) override;
    void SetProgressPosition(int position) override;
    download::ProgressDisplay* DownloadDisplay() override { return progress_; }
    bool CancelRequested() const override;
    void Abandon() override;
    void MarkAbandoned() override;
    ErrorChoice Ask(const Question& question) override;
    void ReportError(int number, const std::string& message) override;
    void ShowMessage(const std::string& text) override;

private:
    static DWORD WINAPI WorkerEntry(void* self);
    void RunActions();
    void RollBack();
    void RestorePreviousLog();

    RunOutcome outcome_ = RunOutcome::Failed;

    EngineSetup setup_;
    ProgressSink* progress_;
    std::string payloadFolder_;
    core::UninstallLogWriter log_;
    std::vector<core::LogRecord> logged_;
    ownership::EarlierRecords earlier_;
    std::vector<core::LogRecord> earlierLogged_;
    bool registeredBefore_ = false;
    bool rolledBack_ = false;
    bool logWriteFailed_ = false;  // a record could not be written: the file is incomplete
    std::string previousLog_;        // the registered installation's log, kept aside during the run, or ""        // the bar then counts the rollback's records  // the product was in the list of programs before the run
    std::vector<core::filelist::FileRecord> records_;
};

}  // namespace install
