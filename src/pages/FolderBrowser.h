// The shell's folder browser with an edit box for typing a folder, as the
// destination and custom setup pages use it.
#pragma once

#include <windows.h>

#include <string>

namespace pages {

// Returns the folder chosen and checked (without a trailing backslash added),
// or "" when the user cancelled.
std::string BrowseForDestination(HWND owner, const std::string& initialFolder);

}  // namespace pages
