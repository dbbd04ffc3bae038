// Creating a directory and every missing parent.
#pragma once

#include <string>
#include <vector>

#include "install/InstallContext.h"

namespace install {

// Creates every missing directory of the path, trying at most 10 creations in
// all; true when the full path exists as a directory at the end. `created`,
// when given, receives every level this call made, the shallowest first and
// without a trailing backslash, so that the uninstaller can remove them.
bool CreateDirectoryPath(const std::string& path, std::vector<std::string>* created = nullptr);

// Logs as DIR every level in `made` (from CreateDirectoryPath) but `dir`
// itself, which its caller logs: the parents this run created, which the
// uninstaller removes again when they are empty.
void LogParentsMade(InstallContext& context, const std::string& dir,
                    const std::vector<std::string>& made);

}  // namespace install
