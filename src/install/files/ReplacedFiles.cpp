#include "install/files/ReplacedFiles.h"

#include "core/Trace.h"
#include "install/files/FileBackup.h"
#include "install/files/FileRemoval.h"

namespace install {

void DeleteBackupsOf(const std::vector<core::LogRecord>& records) {
    for (const core::LogRecord& record : records) {
        core::MovedAside moved;
        if (record.kind != core::LogKind::Backup || !core::ParseMovedAside(record.value, moved)) continue;
        if (!fileops::DeleteBackup(moved)) core::trace::Value("backup kept", moved.backup);
    }
}

ActionResult DeleteBackups(InstallContext& context) {
    DeleteBackupsOf(context.Logged());
    return ActionResult::Continue;
}

// A file is never put back through a link in the run's own folders: it
// could land anywhere. The run's file a program still holds is replaced by
// the original at the next restart.
void RestoreReplacedFiles(UndoContext& context) {
    const std::vector<std::string> made = MadeFolders(context);
    for (const core::LogRecord* record : NewestFirst(context, core::LogKind::Backup)) {
        core::MovedAside moved;
        if (!core::ParseMovedAside(record->value, moved)) {
            context.Advance();
            continue;
        }
        const fileops::PutBackOutcome outcome =
            LeadsThroughLink(moved.path, made) ? fileops::PutBackOutcome::Failed : fileops::PutBack(moved);
        if (outcome == fileops::PutBackOutcome::Failed) context.LeftOver(moved.backup);
        if (outcome == fileops::PutBackOutcome::AtRestart) context.RestartNeeded(moved.path);
        context.Advance();
    }
}

}  // namespace install
