#include "pages/ErrorChoiceDialog.h"

#include "res/install_resource.h"

namespace pages {

namespace {

struct DialogArgs {
    const std::string* text;
    bool abortOnly;
};

INT_PTR CALLBACK ErrorChoiceProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_INITDIALOG: {
        const auto* args = reinterpret_cast<const DialogArgs*>(lParam);
        SetDlgItemTextA(dialog, IDC_COPY_ERROR_TEXT, args->text->c_str());
        SendDlgItemMessageA(dialog, IDC_COPY_ERROR_ICON, STM_SETICON,
                            reinterpret_cast<WPARAM>(LoadIcon(nullptr, IDI_EXCLAMATION)), 0);
        if (args->abortOnly) {
            ShowWindow(GetDlgItem(dialog, IDC_RETRY_BUTTON), SW_HIDE);
            ShowWindow(GetDlgItem(dialog, IDC_IGNORE_BUTTON), SW_HIDE);
        }
        SetForegroundWindow(dialog);
        return TRUE;
    }
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDC_RETRY_BUTTON: EndDialog(dialog, static_cast<INT_PTR>(install::ErrorChoice::Retry)); break;
        case IDC_IGNORE_BUTTON: EndDialog(dialog, static_cast<INT_PTR>(install::ErrorChoice::Ignore)); break;
        case IDC_CANCEL_BUTTON:
        case IDCANCEL: EndDialog(dialog, static_cast<INT_PTR>(install::ErrorChoice::Cancel)); break;
        }
        return TRUE;
    case WM_CLOSE:
        EndDialog(dialog, static_cast<INT_PTR>(install::ErrorChoice::Cancel));
        return TRUE;
    }
    return FALSE;
}

}  // namespace

install::ErrorChoice AskErrorChoice(HWND owner, const std::string& text, bool abortOnly) {
    DialogArgs args = {&text, abortOnly};
    INT_PTR r = DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_COPY_ERROR), owner,
                                ErrorChoiceProc, reinterpret_cast<LPARAM>(&args));
    if (r == static_cast<INT_PTR>(install::ErrorChoice::Retry)) return install::ErrorChoice::Retry;
    if (r == static_cast<INT_PTR>(install::ErrorChoice::Ignore)) return install::ErrorChoice::Ignore;
    return install::ErrorChoice::Cancel;  // includes a dialog that could not be shown
}

}  // namespace pages
