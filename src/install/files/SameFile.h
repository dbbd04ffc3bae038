// Whether an installed file already is what the payload would put there.
#pragma once

#include <string>

namespace install::fileops {

// Whether the file at `installed` holds the bytes of the file at `payload`,
// read through a handle on the installed file itself: a link, a folder, a
// file that shares its data with another name (a hard link) or one owned by
// anyone but the administrators, the system or this process's user never
// counts as the same, since a file that stays as it was found must stay the
// product's own. False when either cannot be read.
bool HoldsSameBytes(const std::string& installed, const std::string& payload);

}  // namespace install::fileops
