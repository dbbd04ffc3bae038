// Setting and reading a window's text as UTF-16, so a text from a Unicode
// language file shows every character whatever the system's code page.
#pragma once

#include <windows.h>

#include <string>

namespace skin {

// Sets the text: `utf8` says whether it is UTF-8 or in the ANSI code page.
void SetWindowTextIn(HWND hwnd, const std::string& text, bool utf8);

// The window's text as the system holds it.
std::wstring WindowTextWide(HWND hwnd);

}  // namespace skin
