#include "install/InterruptedRun.h"

#include <windows.h>

#include <optional>
#include <vector>

#include "core/Registry.h"
#include "core/Trace.h"
#include "core/TraceNames.h"
#include "core/UninstallLog.h"
#include "install/Rollback.h"
#include "install/UndoContext.h"
#include "install/files/ReplacedFiles.h"
#include "install/registration/SetupCache.h"
#include "install/services/ServiceManager.h"
#include "install/shared/DirectoryPath.h"
#include "install/shared/EarlierOwnership.h"
#include "install/shared/OwnershipRules.h"
#include "install/shared/UndoRules.h"
#include "install/shared/WholeFile.h"
#include "util/Text.h"

namespace install {

std::string PendingRunMarker(const std::string& uninstallFolder) {
    return util::text::WithTrailingBackslash(uninstallFolder) + "run.pending";
}

namespace {

// What the marker of a run whose installation completed holds.
constexpr char kCompletedMark[] = "completed";

// Writes the marker afresh with TEXT (empty while the run is pending).
bool WriteMarker(const std::string& uninstallFolder, const std::string& text) {
    const std::string marker = PendingRunMarker(uninstallFolder);
    if (WriteWholeFile(marker, text)) return true;
    core::trace::Failure("WriteWholeFile (run marker)", marker, GetLastError());
    return false;
}

std::string LogIn(const std::string& uninstallFolder) {
    return util::text::WithTrailingBackslash(uninstallFolder) + "uninstall.log";
}

bool MarkedCompleted(const std::string& uninstallFolder) {
    std::string text;
    return ReadWholeFile(PendingRunMarker(uninstallFolder), text) && text == kCompletedMark;
}

}  // namespace

bool MarkRunPending(const std::string& uninstallFolder) {
    CreateDirectoryPath(uninstallFolder);
    return WriteMarker(uninstallFolder, "");
}

void ClearRunPending(const std::string& uninstallFolder) { DeleteFileA(PendingRunMarker(uninstallFolder).c_str()); }

std::string PreviousLogPath(const std::string& logPath) { return logPath + ".previous"; }

void MarkRunCompleted(const std::string& uninstallFolder) { WriteMarker(uninstallFolder, kCompletedMark); }

namespace {

// Whether what a record names is still on the machine after its undo ran:
// a file, folder, value, key or service that could not go. A line that puts
// something back (a former value, an INI entry, an appended item) ran once
// and is not repeated later over what the user has changed since.
bool StaysOnTheMachine(const core::LogRecord& record) {
    using core::LogKind;
    const DWORD attributes = GetFileAttributesA(record.value.c_str());
    const bool found = attributes != INVALID_FILE_ATTRIBUTES;
    std::string key;
    switch (record.kind) {
        case LogKind::File:
        case LogKind::Shortcut:
        case LogKind::IniFile: return found && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
        case LogKind::Dir: return found && (attributes & FILE_ATTRIBUTE_DIRECTORY);
        case LogKind::KeepFile: return true;  // keeps its FILE lines from acting
        case LogKind::RegKey:
        case LogKind::RemKey: {
            const HKEY root = core::registry::SplitRootPath(util::text::WithoutTrailingBackslashes(record.value), key);
            return root && core::registry::KeyExists(root, key);
        }
        case LogKind::RegVal:
        case LogKind::EnvKept: {
            const std::optional<undorules::ValuePath> split = undorules::SplitValuePath(record.value, GetACP());
            const HKEY root = split ? core::registry::SplitRootPath(split->key, key) : nullptr;
            return root && core::registry::ReadValue(root, key, split->name).has_value();
        }
        case LogKind::NtService: return servicemanager::ReadServiceSettings(record.value).has_value();
        default: return false;
    }
}

// Undoes, as a removal would, what the earlier log names and the run's log
// does not. The product stays registered: this is no removal of it.
void RemoveWhatWasLeftBehind(const std::string& productCode, const std::string& uninstallFolder,
                             const std::string& uninstallerFolder, core::scope::InstallScope scope,
                             const std::vector<core::LogRecord>& records,
                             const std::vector<core::LogRecord>& earlier) {
    const std::vector<core::LogRecord> left =
        ownership::LeftBehind(ownership::RecordsFor(earlier, core::UndoPurpose::Removal), records, SystemPathKey());
    if (left.empty()) return;
    UndoSetup setup = RollbackSetup(productCode, uninstallFolder, uninstallerFolder, scope, true);
    setup.rollback = false;
    setup.guardedFolders = GuardRootsOf(records);
    for (const std::string& root : GuardRootsOf(earlier)) setup.guardedFolders.push_back(root);
    Rollback removal(setup, left, nullptr);
    if (removal.Run()) return;
    // Named in the product's log, what stays is tried again by its removal.
    const std::string log = LogIn(uninstallFolder);
    core::UninstallLogWriter writer;
    writer.Continue(log);
    for (const core::LogRecord& record : left)
        if (StaysOnTheMachine(record) && !writer.Append(record))
            core::trace::Value("left behind, not logged", record.value);
}

}  // namespace

void CommitRun(const std::string& productCode, const std::string& uninstallFolder,
               const std::string& uninstallerFolder, core::scope::InstallScope scope) {
    const std::string log = LogIn(uninstallFolder);
    const std::string previous = PreviousLogPath(log);
    std::optional<std::vector<core::LogRecord>> records = core::ReadUninstallLog(log);
    if (records) DeleteBackupsOf(*records);
    std::optional<std::vector<core::LogRecord>> earlier = core::ReadUninstallLog(previous);
    if (records && earlier)
        RemoveWhatWasLeftBehind(productCode, uninstallFolder, uninstallerFolder, scope, *records, *earlier);
    setupcache::CommitSetupCache(uninstallFolder);
    DeleteFileA(previous.c_str());
    ClearRunPending(uninstallFolder);
}

void RollBackRun(const std::string& productCode, const std::string& uninstallFolder,
                 const std::string& uninstallerFolder, core::scope::InstallScope scope) {
    const std::string log = LogIn(uninstallFolder);
    const std::string previous = PreviousLogPath(log);
    const bool registeredBefore = GetFileAttributesA(previous.c_str()) != INVALID_FILE_ATTRIBUTES;
    std::optional<std::vector<core::LogRecord>> records = core::ReadUninstallLog(log);
    UndoSetup setup = RollbackSetup(productCode, uninstallFolder, uninstallerFolder, scope, registeredBefore);
    if (records) setup.guardedFolders = GuardRootsOf(*records);
    Rollback rollback(setup,
                      records ? ownership::RecordsFor(*records, core::UndoPurpose::Rollback)
                              : std::vector<core::LogRecord>(),
                      nullptr);
    rollback.Run();
    setupcache::DiscardSetupCache(uninstallFolder);
    if (registeredBefore && !MoveFileExA(previous.c_str(), log.c_str(), MOVEFILE_REPLACE_EXISTING))
        core::trace::Failure("MoveFileExA (previous log)", previous, GetLastError());
    ClearRunPending(uninstallFolder);
}

bool RecoverInterruptedRun(const std::string& productCode, const std::string& uninstallFolder,
                           const std::string& uninstallerFolder, core::scope::InstallScope scope) {
    if (GetFileAttributesA(PendingRunMarker(uninstallFolder).c_str()) == INVALID_FILE_ATTRIBUTES) return false;
    if (MarkedCompleted(uninstallFolder)) {
        CommitRun(productCode, uninstallFolder, uninstallerFolder, scope);
        return false;
    }
    core::trace::Value(core::tracenames::kRecovery, LogIn(uninstallFolder));
    RollBackRun(productCode, uninstallFolder, uninstallerFolder, scope);
    return true;
}

}  // namespace install
