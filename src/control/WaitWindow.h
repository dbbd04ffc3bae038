// The setup's small wait window: a box without buttons that says the setup is
// busy, shown while start-up reads slow variable sources.
#pragma once

#include <windows.h>

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

private:
    HWND window_ = nullptr;
};

}  // namespace control
