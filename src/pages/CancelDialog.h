// The cancel confirmation (question, "stay" and "leave" buttons) and the
// same dialog in its error form (message and one closing button).
#pragma once

#include <windows.h>

#include <string>

namespace pages {

struct CancelDialogTexts {
    std::string text;         // the question, or the error message
    std::string stayCaption;  // the dialog's Cancel button
    std::string leaveCaption; // the dialog's OK button (not shown for errors)
};

// True when the user confirmed (OK).
bool AskCancelConfirmation(HWND owner, const CancelDialogTexts& texts);
// Shows an error; returns when the user closed it.
void ShowErrorBox(HWND owner, const std::string& message, const std::string& closeCaption);

}  // namespace pages
