#include "control/WaitWindow.h"

#include "core/Messages.h"
#include "core/Trace.h"
#include "res/resource.h"

namespace control {

namespace {

INT_PTR CALLBACK WaitProc(HWND, UINT msg, WPARAM, LPARAM) { return msg == WM_INITDIALOG; }

}  // namespace

void WaitWindow::Show() {
    if (window_) return;
    window_ = CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_WAIT), nullptr,
                                 WaitProc, 0);
    if (!window_) return core::trace::Failure("CreateDialogParam", "wait window", GetLastError());
    SetDlgItemTextA(window_, IDC_WAIT_TEXT, core::EnglishText(core::MessageId::PleaseWait));
    ShowWindow(window_, SW_SHOW);
    UpdateWindow(window_);
}

void WaitWindow::Close() {
    if (!window_) return;
    DestroyWindow(window_);
    window_ = nullptr;
}

}  // namespace control
