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

// The same, with two questions of the caller's on the installed file, asked
// through the handle that is compared: `acceptable` (may be empty) is given
// its attributes and size before anything is read and may refuse it; when the
// bytes are the same `whenSame` (may be empty) gets the handle, open with
// READ_CONTROL and WRITE_DAC as well, and its descriptor as read (owner and
// DACL), so that its permissions can be set on the very file that was
// compared.
struct SameFileQuestions {
    std::function<bool(DWORD attributes, unsigned long long size)> acceptable;
    std::function<void(HANDLE file, PSECURITY_DESCRIPTOR current)> whenSame;
};
bool HoldsSameBytes(const std::string& installed, const std::string& payload, const SameFileQuestions& questions);

}  // namespace install::fileops
