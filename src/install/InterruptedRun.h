// A run that was killed (power loss, task manager) before it completed or
// rolled back leaves its log, its backups and a marker in the product's
// uninstall folder; the next start of the product's setup finds the marker
// and completes the rollback from them.
#pragma once

#include "core/InstallScopeRules.h"

#include <string>

namespace install {

// The marker's path: "run.pending" in the uninstall folder (trailing backslash).
std::string PendingRunMarker(const std::string& uninstallFolder);

// Made as a run starts (with the uninstall folder), deleted once it completed
// or was rolled back. False (traced) when it could not be made.
bool MarkRunPending(const std::string& uninstallFolder);
void ClearRunPending(const std::string& uninstallFolder);

// The installation completed, but the setup goes on (file actions, add-on
// programs, Finish): until it ends, a library action that abandons the setup
// still rolls the run back (RollBackRun). The marker says so, so that a setup
// killed from here on is committed at the next start, never rolled back.
void MarkRunCompleted(const std::string& uninstallFolder);

// The setup ended after its installation completed: what the product's
// earlier run made and this run did not make again is removed (the dropped
// file of an update, the first copy of a product installed again elsewhere;
// what cannot go now is added to the log, for the removal), the backups of
// the files the run replaced and the earlier log are deleted, and the run is
// no longer pending.
void CommitRun(const std::string& productCode, const std::string& uninstallFolder,
               const std::string& uninstallerFolder, core::scope::InstallScope scope);

// Rolls back what the log in the uninstall folder names (the undo steps,
// without a display), puts the previous installation's log back when one
// waits, and deletes the marker.
void RollBackRun(const std::string& productCode, const std::string& uninstallFolder,
                 const std::string& uninstallerFolder, core::scope::InstallScope scope);

// Where the log of the installation registered before a run waits during it.
std::string PreviousLogPath(const std::string& logPath);

// When the marker is there: a run whose installation had completed is
// committed; any other is rolled back (RollBackRun). True when a run was
// rolled back.
bool RecoverInterruptedRun(const std::string& productCode, const std::string& uninstallFolder,
                           const std::string& uninstallerFolder, core::scope::InstallScope scope);

}  // namespace install
