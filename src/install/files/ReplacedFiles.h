// The files a run replaced (BACKUP records, see install/files/FileBackup.h): a
// completed run deletes their backups, a rollback puts them back.
#pragma once

#include <vector>

#include "core/UninstallLog.h"
#include "install/InstallContext.h"
#include "install/UndoContext.h"

namespace install {

// Deletes the backup of every file a run replaced, and the backup folders
// once empty, when nothing can roll the run back any more (the setup ended
// after its installation completed). A backup that cannot be deleted stays
// (traced).
void DeleteBackupsOf(const std::vector<core::LogRecord>& records);
// The same for the records a run has logged so far.
ActionResult DeleteBackups(InstallContext& context);

// Undo step, after RemoveFiles: puts every backup back at its path, the
// newest first, so that a path replaced twice ends with what was there before
// the run. A backup that is not there (deleted once the run completed, or
// never made) is passed over; one that cannot be put back is left over.
void RestoreReplacedFiles(UndoContext& context);

}  // namespace install
