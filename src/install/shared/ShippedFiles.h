// Files a project ships beside its payload (the uninstaller, the program it
// runs first, icons of shortcuts, file types and the list of programs):
// where they lie when the setup runs, and the plain copies that place them.
#pragma once

#include <string>

#include "install/InstallContext.h"

namespace install {

// Where a project file of that name lies: where the cabinet extraction put
// it in the working folder, or in the disk image. "" for an empty name.
std::string ProjectFile(const InstallContext& context, const std::string& name);

// A setting naming a file: without "<" it is a file the project ships,
// found by its file name (ProjectFile); with "<" it is a path whose
// placeholders are expanded. "" for an empty setting.
std::string NamedFile(const InstallContext& context, const std::string& setting);

// The file name of a path, split by characters of the system's code page.
std::string FileNameOfPath(const std::string& path);

// CopyFileA, overwriting; a failure goes to the trace.
bool CopyReplacing(const std::string& source, const std::string& target);

// Copies the shipped file named by the path's file name into the
// installation folder, overwriting, and logs the copy as FILE; the copy's
// path, or "" (nothing logged) when no such file ships or the copy fails.
std::string InstallShippedFile(InstallContext& context, const std::string& path);

}  // namespace install
