// Entries written into INI files, each logged with what it held before; a
// file the run creates is logged as its own, one that was there is not.
#pragma once

#include <string>
#include <vector>

#include "install/InstallContext.h"

namespace install {

ActionResult WriteIniFiles(InstallContext& context);

// The sections of an INI file, as the system's INI reader lists them.
std::vector<std::string> IniSectionNames(const std::string& path);

}  // namespace install
