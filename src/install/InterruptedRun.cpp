#include "install/InterruptedRun.h"

#include <windows.h>

#include "core/Trace.h"
#include "core/TraceNames.h"
#include "core/UninstallLog.h"
#include "install/DirectoryPath.h"
#include "install/Rollback.h"
#include "util/Text.h"

namespace install {

std::string PendingRunMarker(const std::string& uninstallFolder) {
    return util::text::WithTrailingBackslash(uninstallFolder) + "run.pending";
}

bool MarkRunPending(const std::string& uninstallFolder) {
    CreateDirectoryPath(uninstallFolder);
    const std::string marker = PendingRunMarker(uninstallFolder);
    HANDLE file = CreateFileA(marker.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        core::trace::Failure("CreateFileA (run marker)", marker, GetLastError());
        return false;
    }
    CloseHandle(file);
    return true;
}

void ClearRunPending(const std::string& uninstallFolder) { DeleteFileA(PendingRunMarker(uninstallFolder).c_str()); }

std::string PreviousLogPath(const std::string& logPath) { return logPath + ".previous"; }

bool RecoverInterruptedRun(const std::string& productCode, const std::string& uninstallFolder,
                           const std::string& windowsFolder) {
    if (GetFileAttributesA(PendingRunMarker(uninstallFolder).c_str()) == INVALID_FILE_ATTRIBUTES) return false;
    const std::string log = util::text::WithTrailingBackslash(uninstallFolder) + "uninstall.log";
    const std::string previous = PreviousLogPath(log);
    const bool registeredBefore = GetFileAttributesA(previous.c_str()) != INVALID_FILE_ATTRIBUTES;
    core::trace::Value(core::tracenames::kRecovery, log);
    std::optional<std::vector<core::LogRecord>> records = core::ReadUninstallLog(log);
    Rollback rollback(RollbackSetup(productCode, uninstallFolder, windowsFolder, registeredBefore),
                      records ? std::move(*records) : std::vector<core::LogRecord>(), nullptr);
    rollback.Run();
    if (registeredBefore && !MoveFileExA(previous.c_str(), log.c_str(), MOVEFILE_REPLACE_EXISTING))
        core::trace::Failure("MoveFileExA (previous log)", previous, GetLastError());
    ClearRunPending(uninstallFolder);
    return true;
}

}  // namespace install
