#include "control/WaitWindow.h"

#include "core/Messages.h"
#include "core/Trace.h"
#include "res/resource.h"

namespace control {

INT_PTR CALLBACK WaitWindow::Proc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_INITDIALOG) {
        SetWindowLongPtrA(window, GWLP_USERDATA, lParam);
        return TRUE;
    }
    if (msg == WM_COMMAND && LOWORD(wParam) == IDCANCEL) {
        auto* self = reinterpret_cast<WaitWindow*>(GetWindowLongPtrA(window, GWLP_USERDATA));
        if (self) self->cancelled_ = true;
        EnableWindow(GetDlgItem(window, IDCANCEL), FALSE);
        return TRUE;
    }
    return FALSE;
}

void WaitWindow::Show() {
    if (window_) return;
    window_ = CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_WAIT), nullptr,
                                 &WaitWindow::Proc, reinterpret_cast<LPARAM>(this));
    if (!window_) return core::trace::Failure("CreateDialogParam", "wait window", GetLastError());
    SetDlgItemTextA(window_, IDC_WAIT_TEXT, core::EnglishText(core::MessageId::PleaseWait));
    ShowWindow(window_, SW_SHOW);
    UpdateWindow(window_);
}

void WaitWindow::SetText(const std::string& text) {
    if (window_) SetDlgItemTextA(window_, IDC_WAIT_TEXT, text.c_str());
}

void WaitWindow::Close() {
    if (!window_) return;
    DestroyWindow(window_);
    window_ = nullptr;
}

}  // namespace control
