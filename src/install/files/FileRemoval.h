// Deleting files and folders at removal: what cannot go now because a
// program holds it goes at the next restart instead.
#pragma once

#include <string>
#include <vector>

#include "install/files/LinkGuard.h"

namespace install {

enum class RemovalOutcome {
    Removed,    // gone now, or was not there
    AtRestart,  // in use: the system deletes it at the next restart
    Failed      // stays (no access, a folder where a file was named, ...)
};

// Deletes a file. A read-only file loses its attribute first. A file in use
// is tried again a few times over about a second, then handed to the system
// to delete at the next restart (MoveFileExA, MOVEFILE_DELAY_UNTIL_REBOOT).
// A missing file counts as removed; a folder of that name is not touched.
RemovalOutcome RemoveFileNow(const std::string& path);

enum class FolderOutcome {
    Removed,    // gone now, or was not there
    NotEmpty,   // holds something: it stays
    AtRestart,  // in use: the system deletes it at the next restart when empty then
    Failed
};

// Removes a folder that is empty.
FolderOutcome RemoveEmptyFolder(const std::string& path);

// Deletes a folder with everything in it, files as RemoveFileNow does; a
// folder whose content goes at restart is handed over after its content.
// A link to another folder (junction, symbolic link) is removed itself,
// never followed; every folder is checked by `guard` and held while its
// content goes. At most kMaxTreeDepth levels deep: a deeper folder stays.
constexpr int kMaxTreeDepth = 64;
RemovalOutcome RemoveFolderTree(const std::string& path, LinkGuard& guard);

// The folder (or file) as the file system names it: a full path with long
// names ("C:\PROGRA~1" gives "C:\Program Files"), so that comparisons of
// folders see through other spellings. A path that does not exist keeps its
// long-name spelling as given; one that cannot be resolved at all is
// returned as it is.
std::string ResolvedFolder(const std::string& path);

}  // namespace install
