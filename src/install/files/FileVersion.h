// The FileVersion text of a file's version resource.
#pragma once

#include <string>

namespace install {

// "" when the file has no version resource or no FileVersion text.
std::string ReadFileVersionText(const std::string& path);

}  // namespace install
