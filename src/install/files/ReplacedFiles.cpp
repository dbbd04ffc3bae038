#include "install/files/ReplacedFiles.h"

#include <windows.h>

#include <map>

#include "core/Trace.h"
#include "download/FileDigest.h"
#include "install/files/FileBackup.h"
#include "install/files/FileRules.h"
#include "install/files/LinkGuard.h"

namespace install {

void DeleteBackupsOf(const std::vector<core::LogRecord>& records) {
    std::vector<core::MovedAside> backups;
    for (const core::LogRecord& record : records) {
        core::MovedAside moved;
        if (record.kind == core::LogKind::Backup && core::ParseMovedAside(record.value, moved)) backups.push_back(moved);
    }
    for (const std::string& kept : fileops::DeleteBackups(backups)) core::trace::Value("backup kept", kept);
}

ActionResult DeleteBackups(InstallContext& context) {
    DeleteBackupsOf(context.Logged());
    return ActionResult::Continue;
}

namespace {

// The sizes and digests of the backups outside the uninstall folder.
std::map<std::string, core::BackupCheck> BackupChecks(const UndoContext& context) {
    std::map<std::string, core::BackupCheck> checks;
    for (const core::LogRecord& record : context.Records()) {
        core::BackupCheck check;
        if (record.kind == core::LogKind::BackupSum && core::ParseBackupCheck(record.value, check))
            checks[check.backup] = check;
    }
    return checks;
}

// Whether the backup holds what the run moved aside. A backup in the
// uninstall folder, where only administrators write, needs no sum; one
// outside it must match its BACKUPSUM (and one without is not the run's: the
// run logs the sum before it moves a file there). A missing backup passes:
// putting it back finds nothing to do.
bool AsLogged(const UndoContext& context, const std::map<std::string, core::BackupCheck>& checks,
              const std::string& backup) {
    const std::optional<unsigned long long> size = fileops::FileSize(backup);
    if (!size) return true;
    const auto found = checks.find(backup);
    if (found == checks.end()) {
        if (filerules::IsInUninstallFolder(backup, context.Setup().uninstallFolder)) return true;
    } else if (*size == found->second.size && download::FileSha256Hex(backup) == found->second.sha256) {
        return true;
    }
    core::trace::Value("backup not put back, it is not what the run moved aside", backup);
    return false;
}

}  // namespace

// A file is never put back through a link in the product's folders: it
// could land anywhere. The run's file a program still holds is replaced by
// the original at the next restart.
void RestoreReplacedFiles(UndoContext& context) {
    LinkGuard guard(GuardedFolders(context));
    const std::map<std::string, core::BackupCheck> checks = BackupChecks(context);
    for (const core::LogRecord* record : NewestFirst(context, core::LogKind::Backup)) {
        core::MovedAside moved;
        if (!core::ParseMovedAside(record->value, moved)) {
            context.LeftOver(record->value);  // a backup it names may wait somewhere
            context.Advance();
            continue;
        }
        const fileops::PutBackOutcome outcome = Refused(guard.Check(moved.path)) || !AsLogged(context, checks, moved.backup)
                                                    ? fileops::PutBackOutcome::Failed
                                                    : fileops::PutBack(moved);
        if (outcome == fileops::PutBackOutcome::Failed) context.LeftOver(moved.backup);
        if (outcome == fileops::PutBackOutcome::AtRestart) context.RestartNeeded(moved.path);
        context.Advance();
    }
}

}  // namespace install
