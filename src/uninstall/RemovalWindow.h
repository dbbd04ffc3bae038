// The window of an interactive removal: it asks whether to remove the
// product, then shows the removal's progress, and owns the closing message.
// Two kinds: the page of the theme's "uninstall.lcd" and the built-in dialog.
#pragma once

#include <windows.h>

#include <string>

#include "uninstall/RemovalDisplay.h"

namespace uninstall {

class RemovalWindow : public RemovalDisplay {
public:
    // Shows the window with the question and returns once the user answered:
    // true to remove. False too when the program is asked to quit.
    virtual bool AskToRemove() = 0;
    // The removal starts: the answer buttons go off, the status shows `status`.
    virtual void RemovalStarted(const std::string& status) = 0;
    // The removal has ended: the window shows the outcome sentence while the
    // closing message lists the details.
    virtual void RemovalEnded(const std::string& outcome) = 0;
    virtual HWND Window() const = 0;
};

// Dispatches messages until `answered` turns true or the program is asked to
// quit (the quit message is put back for the caller's loop). `dialog`, when
// given, gets the dialog keys (Tab, Enter, Escape). False on quit.
bool DispatchUntilAnswered(const bool& answered, HWND dialog);

// Sets a control's text and repaints the window behind it: painted texts
// may be transparent over the page's picture. Works from any thread.
void SetTextAndRepaint(HWND window, HWND control, const std::string& text);

}  // namespace uninstall
