// The engine's modal error dialog: a text with Retry, Ignore and Cancel, or
// with Cancel alone in its abort form. Shown by the installation's worker thread.
#pragma once

#include <windows.h>

#include <string>

enum class ErrorChoice { Retry = 1, Ignore = 2, Cancel = 3 };

ErrorChoice AskErrorChoice(HWND owner, const std::string& text, bool abortOnly);
