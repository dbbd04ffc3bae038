// The installation's modal error dialog: a text with Retry, Ignore and
// Cancel, or with Cancel alone in its abort form.
#pragma once

#include <windows.h>

#include <string>

#include "install/InstallContext.h"

namespace pages {

install::ErrorChoice AskErrorChoice(HWND owner, const std::string& text, bool abortOnly);

}  // namespace pages
