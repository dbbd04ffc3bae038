// The setup's modal message dialog ("Brenmark Corvane", a text, Close).
#pragma once

#include <windows.h>

#include <string>

namespace core {

// Shows the text and returns when the user closed the dialog.
void ShowMessageDialog(HWND owner, const std::string& text);

}  // namespace core
