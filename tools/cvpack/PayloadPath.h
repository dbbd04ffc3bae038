// Where a path written in the project (a data.inf source line, a splash file
// setup.inf names) lies on the building machine. Paths are written with
// backslashes or slashes whatever system builds.
#pragma once

#include <filesystem>
#include <string>

// `path` relative to the project folder (an absolute one as it is). Written
// in UTF-8 (`utf8`) or in `codePage`, whose double-byte characters may hold a
// second byte equal to a backslash that is none.
std::filesystem::path PayloadPath(const std::filesystem::path& projectDir, std::string path,
                                  bool utf8, unsigned codePage);

// A path of the building machine as text in the same encoding, with slashes.
std::string PathText(const std::filesystem::path& path, bool utf8);
