// The file actions of an installation: the file list with the destination
// directories, and the placing of every payload file with its per-file rules
// (system and feature filters, only-if-absent, library versions, expanded
// content, web items, attributes, self-registration, the uninstall log).
#pragma once

#include "install/InstallContext.h"

namespace install {

// Reads data.inf into the context's file records, logs the file total,
// creates the uninstall folder, the installation directory and every
// destination directory, and sets the progress range. Stop (with the error
// reported and the run marked aborted) when data.inf cannot be read.
ActionResult LoadFileData(InstallContext& context);

// Places every record's file. Stop when the user cancelled, or abandoned the
// run at a copy error.
ActionResult InstallFiles(InstallContext& context);

}  // namespace install
