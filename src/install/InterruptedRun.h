// A run that was killed (power loss, task manager) before it completed or
// rolled back leaves its log, its backups and a marker in the product's
// uninstall folder; the next start of the product's setup finds the marker
// and completes the rollback from them.
#pragma once

#include <string>

namespace install {

// The marker's path: "run.pending" in the uninstall folder (trailing backslash).
std::string PendingRunMarker(const std::string& uninstallFolder);

// Made as a run starts (with the uninstall folder), deleted once it completed
// or was rolled back. False (traced) when it could not be made.
bool MarkRunPending(const std::string& uninstallFolder);
void ClearRunPending(const std::string& uninstallFolder);

// Where the log of the installation registered before a run waits during it.
std::string PreviousLogPath(const std::string& logPath);

// When the marker is there: rolls back what the log of the interrupted run
// names (the undo steps, without a display), puts the previous installation's
// log back when one waits, and deletes the marker. True when a run was
// rolled back.
bool RecoverInterruptedRun(const std::string& productCode, const std::string& uninstallFolder,
                           const std::string& windowsFolder);

}  // namespace install
