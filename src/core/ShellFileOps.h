// Copying and deleting through the shell's file operation. Paths are at most
// 260 characters; each call returns true when the shell reports no error.
#pragma once

#include <string>

namespace core::shellops {

constexpr unsigned long kNothingToCopy = 0x10000000;  // last error when a pattern names no file

// Copies the files (never directories) matching the pattern into destination.
bool CopyFiles(const std::string& sourcePattern, const std::string& destination, bool quiet);
// Copies a whole folder.
bool CopyFolder(const std::string& source, const std::string& destination, bool quiet);
// Deletes a file or a folder tree. The current directory first steps up out
// of the path, so the folder is not in use.
bool Delete(const std::string& path, bool quiet);
// Deletes a folder tree quietly when it exists, file by file without the
// shell (whose operation costs far more per file), read-only files too; a
// link inside it is removed, never followed. One trailing backslash of the
// path is ignored. True when no such folder is left.
bool DeleteFolderIfPresent(std::string folder);

}  // namespace core::shellops
