// Moving a file into place with as few calls to the system as it takes.
#pragma once

#include <string>

#include "install/files/FilePermissions.h"

namespace install::fileops {

// Renames `source` to `destination` on the same volume, replacing an
// existing destination file, through the open source file; when that cannot
// be done (another volume, a name the system refuses) the ordinary move with
// copy allowed is used. Whether a read-only destination is replaced depends
// on the system (Windows refuses, Wine's rename does not): a caller that
// wants it replaced clears its read-only attribute after a refusal and tries
// again. A moved file gets the permissions of its new folder through
// `permissions` (see there). True when the file is in place. With `replace`
// false an existing destination is left alone and the move fails with
// ERROR_ALREADY_EXISTS (or ERROR_FILE_EXISTS): a new file costs no more
// calls than with replacing, and the caller learns that one was there.
bool MoveReplacing(const std::string& source, const std::string& destination,
                   InheritedPermissions& permissions, bool replace = true);

}  // namespace install::fileops
