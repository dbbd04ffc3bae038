// The setup's small wait window: a box that says the setup is busy, shown
// while start-up reads slow variable sources, with a Cancel button that gives
// up the web texts still to come (their variables take their defaults), and
// while a single-file setup unpacks its package (Cancel ends the setup).
#pragma once

#include <windows.h>

#include <string>

namespace control {

class WaitWindow {
public:
    WaitWindow() = default;
    ~WaitWindow() { Close(); }
    WaitWindow(const WaitWindow&) = delete;
    WaitWindow& operator=(const WaitWindow&) = delete;

    // Shows the window and paints it at once (the thread is about to block).
    // A window that cannot be made is traced; start-up goes on without it.
    void Show();
    void Close();
    // Replaces the text the window shows ("Please wait..." at first).
    void SetText(const std::string& text);
    // Cancel was clicked (it stays so for the rest of the window's life).
    bool CancelRequested() const { return cancelled_; }

private:
    static INT_PTR CALLBACK Proc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam);

    HWND window_ = nullptr;
    bool cancelled_ = false;
};

}  // namespace control
