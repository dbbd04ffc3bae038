// The slide show's window: a borderless popup above every other window that
// shows each billboard's picture at its position for its time, then the next,
// and destroys itself after the last. It lives on the thread that created
// it, which also loads and owns its pictures: no GDI or picture object
// crosses to another thread.
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "billboard/BillboardRules.h"
#include "skin/OlePicture.h"

namespace billboard {

// The window class (test drivers find the window by it).
constexpr char kWindowClass[] = "CorvaneBillboard";

class BillboardWindow {
public:
    BillboardWindow(std::vector<Billboard> billboards, std::string workingFolder, std::string sourceFolder);
    ~BillboardWindow();
    BillboardWindow(const BillboardWindow&) = delete;
    BillboardWindow& operator=(const BillboardWindow&) = delete;

    // Creates the window and shows the first billboard; false when the
    // window could not be made (nothing is shown then).
    bool Open();
    // False once the last billboard's time is over and the window is gone.
    bool Alive() const { return hwnd_ != nullptr; }

private:
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT OnMessage(UINT msg, WPARAM wParam, LPARAM lParam);
    void ShowBillboard(size_t index);
    void NextBillboard();
    void Paint();

    std::vector<Billboard> billboards_;
    std::string workingFolder_;
    std::string sourceFolder_;
    size_t current_ = 0;
    std::unique_ptr<skin::OlePicture> picture_;
    HWND hwnd_ = nullptr;
};

}  // namespace billboard
