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

// Logs as DIR the folders of `dir` this run made (`made`, from
// CreateDirectoryPath): `dir` itself first, as written, then the parents.
// A folder that was there is not the run's and is not logged, unless an
// earlier run of the product logged it: the uninstaller removes a logged
// folder again when it is empty, and remove-all only the installation folder
// the product made.
void LogFoldersMade(InstallContext& context, const std::string& dir, const std::vector<std::string>& made);

}  // namespace install
