// Whether an installed file already is what the payload would put there.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

namespace install::fileops {

// Whether the file at `installed` holds the bytes of the file at `payload`,
// read through a handle on the installed file itself: a link, a folder, a
// file that shares its data with another name (a hard link) or one owned by
// anyone but the administrators, the system or this process's user never
// counts as the same, since a file that stays as it was found must stay the
// product's own. False when either cannot be read.
bool HoldsSameBytes(const std::string& installed, const std::string& payload);

// The same, and when the bytes are the same `whenSame` gets the handle on the
// installed file, open with READ_CONTROL and WRITE_DAC as well, so that its
// permissions can be set on the very file that was compared.
bool HoldsSameBytes(const std::string& installed, const std::string& payload,
                    const std::function<void(HANDLE)>& whenSame);

}  // namespace install::fileops
