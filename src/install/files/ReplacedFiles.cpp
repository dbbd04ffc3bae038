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
// could land anywhere.
void RestoreReplacedFiles(UndoContext& context) {
    const std::vector<std::string> made = MadeFolders(context);
    for (const core::LogRecord* record : NewestFirst(context, core::LogKind::Backup)) {
        core::MovedAside moved;
        if (core::ParseMovedAside(record->value, moved) &&
            (LeadsThroughLink(moved.path, made) || fileops::PutBack(moved) == fileops::PutBackOutcome::Failed))
            context.LeftOver(moved.backup);
        context.Advance();
    }
}

}  // namespace install
