#include "core/MessageDialog.h"

#include "res/resource.h"
#include "core/Messages.h"

namespace core {

namespace {

INT_PTR CALLBACK MessageProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_INITDIALOG:
        SetDlgItemTextA(dialog, IDC_MESSAGE_TEXT, reinterpret_cast<const char*>(lParam));
        SendDlgItemMessageA(dialog, IDC_MESSAGE_ICON, STM_SETICON,
                            reinterpret_cast<WPARAM>(LoadIcon(nullptr, IDI_EXCLAMATION)), 0);
        return TRUE;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) EndDialog(dialog, IDOK);
        return TRUE;
    case WM_CLOSE:
        EndDialog(dialog, IDOK);
        return TRUE;
    }
    return FALSE;
}

}  // namespace

void ShowMessageDialog(HWND owner, const std::string& text) {
    if (DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_MESSAGE), owner,
                        MessageProc, reinterpret_cast<LPARAM>(text.c_str())) == -1)
        // Without the dialog resource the user must still learn why the setup ends.
        MessageBoxA(owner, text.c_str(), core::kMessageCaption, MB_OK | MB_ICONEXCLAMATION);
}

}  // namespace core
