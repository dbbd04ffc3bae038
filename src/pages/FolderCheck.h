// Checking a destination folder the user typed or chose, creating it on request.
#pragma once

#include <windows.h>

#include <string>

namespace pages {

enum class FolderCheckResult { Good = 0, Invalid = 1, NotCreated = 2 };

// Shows the check's messages itself (owned by `owner`). A declined creation
// counts as not created.
FolderCheckResult CheckDestinationFolder(HWND owner, const std::string& path);

}  // namespace pages
