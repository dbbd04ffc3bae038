// Creating a directory and every missing parent.
#pragma once

#include <string>

namespace install {

// Creates every missing directory of the path, trying at most 10 creations in
// all; true when the full path exists as a directory at the end.
bool CreateDirectoryPath(const std::string& path);

}  // namespace install
