#pragma once

// Small files read and written in one piece: the file phase's expanded texts
// and the file list, the run marker.
#include <string>

namespace install {

// False when the file cannot be opened, is larger than 256 MiB, or a read
// stops short.
bool ReadWholeFile(const std::string& path, std::string& out);

// Creates or truncates `path` and writes `content` whole; a file that cannot
// be written whole (a full disk) is removed and false returned, with the
// failing call's error left in GetLastError for the caller's trace.
bool WriteWholeFile(const std::string& path, const std::string& content);

}  // namespace install
