// The SHA-256 digest of a file as 64 lower-case hex digits, for a downloaded
// file the project names the digest of.
#pragma once

#include <string>

namespace download {

// "" when the file cannot be read to its end.
std::string FileSha256Hex(const std::string& path);

}  // namespace download
