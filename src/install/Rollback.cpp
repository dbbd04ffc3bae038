#include "install/Rollback.h"

#include "core/Messages.h"
#include "core/Trace.h"
#include "core/TraceNames.h"
#include "install/shared/ProtectedFolders.h"
#include "install/ActionTableRules.h"
#include "install/UndoActions.h"
#include "util/Text.h"

namespace install {

Rollback::Rollback(const UndoSetup& setup, std::vector<core::LogRecord> records, ProgressSink* progress)
    : setup_(setup), records_(std::move(records)), progress_(progress) {}

bool Rollback::Run() {
    const std::string status = core::EnglishText(core::MessageId::StatusRollingBack);
    core::trace::Value(core::tracenames::kRollback, std::to_string(records_.size()) + " records");
    position_ = 0;
    leftOver_ = false;
    if (progress_) {
        progress_->SetStatus(status, 0);
        progress_->SetProgressRange(static_cast<int>(records_.size()));
        progress_->SetProgressPosition(0);
    }
    RunUndoActions(*this);
    // A record no step undoes stays as it is: said, never passed over.
    for (const core::LogRecord* record : tables::UnconsumedRecords(records_)) LeftOver(tables::LineOf(*record));
    if (progress_) progress_->SetProgressPosition(static_cast<int>(records_.size()));
    core::trace::Value(core::tracenames::kRollbackDone, leftOver_ ? "something left over" : "complete");
    return !leftOver_;
}

// The page keeps "Rolling back..." as its status; the step shows below it.
void Rollback::SetStatus(const std::string& text) {
    core::trace::Value(core::tracenames::kRemovalStatus, text);
    if (progress_) progress_->SetStatus(text, 1);
}

void Rollback::Advance() {
    ++position_;
    if (progress_) progress_->SetProgressPosition(position_);
}

void Rollback::LeftOver(const std::string& what) {
    core::trace::Value(core::tracenames::kLeftOver, what);
    leftOver_ = true;
}

void Rollback::RestartNeeded(const std::string& what) { core::trace::Value(core::tracenames::kAtRestart, what); }

void Rollback::WaitForProcess(HANDLE process) {
    if (WaitForSingleObject(process, INFINITE) == WAIT_FAILED)
        core::trace::Failure("WaitForSingleObject (rollback)", GetLastError());
}

UndoSetup RollbackSetup(const std::string& productCode, const std::string& uninstallFolder,
                        const std::string& uninstallerFolder, core::scope::InstallScope scope,
                        bool registeredBefore) {
    UndoSetup setup;
    setup.productCode = registeredBefore ? std::string() : productCode;
    setup.uninstallFolder = util::text::WithTrailingBackslash(uninstallFolder);
    setup.uninstallerFolder = util::text::WithTrailingBackslash(uninstallerFolder);
    setup.scope = scope;
    setup.protectedFolders = ProtectedFolders(scope);
    setup.silent = true;
    setup.rollback = true;
    return setup;
}

}  // namespace install
