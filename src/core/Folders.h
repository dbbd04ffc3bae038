// Discovery of the folders the setup works with. Each Windows call gets a
// 150-character buffer as the engine's folder values are fixed-size; a longer
// path is not supported and reads as "".
#pragma once

#include <string>

namespace core::folders {

constexpr unsigned kFolderBufferSize = 150;

std::string WindowsFolder();     // no trailing backslash
std::string TempFolder();        // trailing backslash
std::string CurrentFolder();     // trailing backslash
std::string ProgramFolder();     // the running program's own folder, trailing backslash
std::string SystemFolder();      // trailing backslash
std::string LoginName();
// A shell special folder (CSIDL_*) without trailing backslash, or "".
std::string SpecialFolder(int csidl);
bool Exists(const std::string& path);
// An existing file; a folder of that name is not one.
bool IsFile(const std::string& path);
// A folder that holds at least one file or folder.
bool HoldsAnything(const std::string& folder);
// "cv" followed by the local time as HHMMSS: the working folder's first name.
std::string WorkingFolderName();
// Creates a working folder of this run's own under tempFolder (ending with a
// backslash) and returns its name: the first of the names for timeName
// (core/WorkingFolder.h) whose folder this call created. "" when none was
// created: the temporary folder is unknown, missing or refuses, every name
// is taken, or the folder's private access list (only the current user,
// the administrators and the system; PrivateFolderDescriptor) cannot be made.
// A folder that exists under a name, planted there or not, is never used.
std::string CreateWorkingFolder(const std::string& tempFolder, const std::string& timeName);
// Creates the folder at `path` with the same private access list; false when
// it exists already (planted there or not, it is never used) or cannot be made.
bool CreatePrivateFolder(const std::string& path);

}  // namespace core::folders
