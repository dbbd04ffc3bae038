#include "install/InstallEngine.h"

#include <objbase.h>

#include "core/Messages.h"
#include "core/MessageWait.h"
#include "core/Registry.h"
#include "core/SetupState.h"
#include "core/Trace.h"
#include "core/TraceNames.h"
#include "core/UninstallKey.h"
#include "core/WorkingFolder.h"
#include "install/InstallActions.h"
#include "install/InterruptedRun.h"
#include "install/Rollback.h"
#include "install/TemporaryFiles.h"
#include "install/registration/SetupCache.h"
#include "install/shared/EarlierOwnership.h"

namespace install {

InstallEngine::InstallEngine(const EngineSetup& setup, ProgressSink* progress)
    : setup_(setup),
      progress_(progress),
      payloadFolder_(core::PayloadFolder(setup.diskImage, setup.sourceFolder, setup.workingFolder)) {}

InstallEngine::~InstallEngine() = default;

std::string InstallEngine::Expand(const std::string& text) const {
    return core::ExpandEngineText(text, setup_.values, setup_.currentInstallFolder,
                            setup_.defaultInstallFolder);
}

std::string InstallEngine::PayloadFilePath(size_t index, const std::string& fileName) const {
    return core::ProjectFilePath(setup_.diskImage, payloadFolder_, core::filelist::StoredName(index, fileName));
}

// A record that cannot be written would leave a change no removal knows
// of: the run is abandoned and rolled back from the records kept here.
void InstallEngine::Log(core::LogKind kind, const std::string& value) {
    core::trace::Value(core::tracenames::kLogRecord, std::string(core::KeyOf(kind)) + "=" + value);
    logged_.push_back(core::MakeLogRecord(kind, value));
    if (log_.Append(kind, value) || logWriteFailed_) return;
    core::trace::Failure("write (uninstall log)", log_.Path(), GetLastError());
    logWriteFailed_ = true;
    MarkAbandoned();
}

void InstallEngine::MakeLogDurable() {
    if (log_.Sync() || logWriteFailed_) return;
    core::trace::Failure("sync (uninstall log)", log_.Path(), GetLastError());
    logWriteFailed_ = true;
    MarkAbandoned();
}

void InstallEngine::SetStatus(const std::string& text) {
    if (progress_) progress_->SetStatus(text, 0);
}

void InstallEngine::SetProgressRange(int count) {
    if (progress_) progress_->SetProgressRange(count);
}

void InstallEngine::SetProgressPosition(int position) {
    if (progress_) progress_->SetProgressPosition(position);
}

// Each change the run makes goes into the uninstall log, and into the
// diagnostic log as it is made: the targets of every action.
bool InstallEngine::CancelRequested() const { return core::CurrentRun().CancelRequested(); }

void InstallEngine::Abandon() {
    RemoveTemporaryFiles(*this);
    core::CurrentRun().Abandon();
}

void InstallEngine::MarkAbandoned() { core::CurrentRun().Abandon(); }

// Nobody answers in an unattended run: every question is answered Cancel.
ErrorChoice InstallEngine::Ask(const Question& question) {
    if (setup_.unattended || !progress_) return ErrorChoice::Cancel;
    return progress_->Ask(question);
}

void InstallEngine::ReportError(int number, const std::string& message) {
    if (setup_.unattended || !progress_) return;
    progress_->ShowError(core::FormatText(core::EnglishText(core::MessageId::EngineErrorFormat),
                                          {std::to_string(number), message}));
}

// A project message has no dialog of its own on the progress page: it shows
// as an error text does, a message box with OK.
void InstallEngine::ShowMessage(const std::string& text) {
    if (setup_.unattended || !progress_) return;
    progress_->ShowError(text);
}

RunOutcome InstallEngine::Run() {
    registeredBefore_ = core::registry::KeyExists(
        core::registry::RootFromName(core::scope::UninstallRootName(setup_.scope)),
        core::uninstallkey::KeyPath(setup_.values.productCode));
    const std::string logPath = UninstallFolderOf(*this) + core::kUninstallLogName;
    // The log of the installation registered before stays aside until this
    // run completed: a rollback puts it back with the registration.
    previousLog_ = PreviousLogPath(logPath);
    if (!registeredBefore_ || !MoveFileExA(logPath.c_str(), previousLog_.c_str(), MOVEFILE_REPLACE_EXISTING))
        previousLog_.clear();
    earlierLogged_.clear();
    if (!previousLog_.empty())
        if (auto earlier = core::ReadUninstallLog(previousLog_))
            earlierLogged_ = ownership::RecordsFor(*earlier, core::UndoPurpose::Removal);
    earlier_ = ownership::EarlierRecords(earlierLogged_, SystemPathKey());
    // A run killed from here on is rolled back by the next start (InterruptedRun.h).
    MarkRunPending(UninstallFolderOf(*this));
    log_.Start(logPath);
    logged_.clear();
    logWriteFailed_ = false;
    rolledBack_ = false;
    outcome_ = RunOutcome::Failed;
    DWORD id = 0;
    HANDLE worker = CreateThread(nullptr, 0, &InstallEngine::WorkerEntry, this, 0, &id);
    if (worker) {
        core::WaitDispatchingMessages(worker);
        CloseHandle(worker);
    } else {
        core::trace::Failure("CreateThread (installation)", GetLastError());
    }
    log_.Close();
    // A run that could not start changed nothing: the earlier log comes back.
    if (outcome_ == RunOutcome::Failed) RestorePreviousLog();
    if (!rolledBack_) SetProgressPosition(static_cast<int>(records_.size()));
    if (outcome_ != RunOutcome::Completed) core::CurrentRun().Abandon();
    return outcome_;
}

DWORD WINAPI InstallEngine::WorkerEntry(void* self) {
    static_cast<InstallEngine*>(self)->RunActions();
    return 0;
}

// The shell link and other COM objects of later actions need COM on this thread.
void InstallEngine::RunActions() {
    const HRESULT com = CoInitialize(nullptr);
    if (FAILED(com)) {
        core::trace::Failure("CoInitialize", static_cast<unsigned long>(com));
        ReportError(0, core::EnglishText(core::MessageId::EngineComFailed));
        outcome_ = RunOutcome::Failed;
        return;
    }
    // A run marked abandoned (a service given up) ran to its end, and is
    // undone as any other that did not complete.
    const bool ranToEnd = RunInstallActions(*this) == ActionResult::Continue;
    if (logWriteFailed_)
        ReportError(2, core::FormatText(core::EnglishText(core::MessageId::EngineLogFailed), {log_.Path()}));
    if (ranToEnd && !core::CurrentRun().Stopped()) {
        // The backups and the earlier log stay until the setup ends
        // (CommitRun): a file action after the installation may still
        // abandon the setup and roll the run back.
        outcome_ = RunOutcome::Completed;
        MarkRunCompleted(UninstallFolderOf(*this));
    } else {
        outcome_ = CancelRequested() ? RunOutcome::Cancelled : RunOutcome::Abandoned;
        RollBack();
    }
    CoUninitialize();
}

// The records come back from the log file, as a removal reads them; the ones
// kept in memory stand in when the file cannot be read. The log is closed
// first: the last undo step deletes it with the uninstall folder.
void InstallEngine::RollBack() {
    rolledBack_ = true;
    log_.Close();
    std::optional<std::vector<core::LogRecord>> records;
    if (!logWriteFailed_) records = core::ReadUninstallLog(log_.Path());
    if (!records) core::trace::Value("rollback from the records in memory", log_.Path());
    const std::vector<core::LogRecord>& whole = records ? *records : logged_;
    UndoSetup undo = RollbackSetup(setup_.values.productCode, UninstallFolderOf(*this),
                                   Expand(core::scope::UninstallerFolderTemplate(setup_.scope)), setup_.scope,
                                   registeredBefore_);
    undo.guardedFolders = GuardRootsOf(whole);
    Rollback rollback(undo, ownership::RecordsFor(whole, core::UndoPurpose::Rollback), progress_);
    rollback.Run();
    RestorePreviousLog();
}

// The log of the installation registered before the run goes back in place
// of this run's (and the setup copy this run made goes), and the run is no
// longer pending.
void InstallEngine::RestorePreviousLog() {
    setupcache::DiscardSetupCache(UninstallFolderOf(*this));
    if (!previousLog_.empty() && !MoveFileExA(previousLog_.c_str(), log_.Path().c_str(), MOVEFILE_REPLACE_EXISTING))
        core::trace::Failure("MoveFileExA (previous log)", previousLog_, GetLastError());
    previousLog_.clear();
    ClearRunPending(UninstallFolderOf(*this));
}

}  // namespace install
