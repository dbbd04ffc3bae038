// The files a run replaced (BACKUP records, see install/FileBackup.h): a
// completed run deletes their backups, a rollback puts them back.
#pragma once

#include "install/InstallContext.h"
#include "install/UndoContext.h"

namespace install {

// Run by the engine once every install action ran and the run was not
// marked abandoned (nothing can roll it back any more): deletes the backup of
// every file this run replaced, and the backup folders once empty. A backup
// that cannot be deleted stays (traced).
ActionResult DeleteBackups(InstallContext& context);

// Undo step, after RemoveFiles: puts every backup back at its path, the
// newest first, so that a path replaced twice ends with what was there before
// the run. A backup that is not there (deleted once the run completed, or
// never made) is passed over; one that cannot be put back is left over.
void RestoreReplacedFiles(UndoContext& context);

}  // namespace install
