#include "pages/CancelDialog.h"

#include "res/pages_resource.h"

namespace pages {

namespace {

struct DialogArgs {
    const CancelDialogTexts* texts;
    bool errorForm;
};

INT_PTR CALLBACK CancelProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_INITDIALOG: {
        const auto* args = reinterpret_cast<const DialogArgs*>(lParam);
        SetDlgItemTextA(dialog, IDC_CANCEL_TEXT, args->texts->text.c_str());
        SetDlgItemTextA(dialog, IDCANCEL, args->texts->stayCaption.c_str());
        SetDlgItemTextA(dialog, IDOK, args->texts->leaveCaption.c_str());
        SendDlgItemMessageA(dialog, IDC_CANCEL_ICON, STM_SETICON,
                            reinterpret_cast<WPARAM>(LoadIcon(nullptr, args->errorForm
                                                                           ? IDI_ERROR
                                                                           : IDI_QUESTION)),
                            0);
        if (args->errorForm) {
            ShowWindow(GetDlgItem(dialog, IDOK), SW_HIDE);
            SendMessageA(dialog, DM_SETDEFID, IDCANCEL, 0);
            SetFocus(GetDlgItem(dialog, IDCANCEL));
            return FALSE;
        }
        return TRUE;
    }
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) EndDialog(dialog, LOWORD(wParam));
        return TRUE;
    case WM_CLOSE:
        EndDialog(dialog, IDCANCEL);
        return TRUE;
    }
    return FALSE;
}

INT_PTR Run(HWND owner, const DialogArgs& args) {
    return DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_CANCEL_CONFIRM), owner,
                           CancelProc, reinterpret_cast<LPARAM>(&args));
}

}  // namespace

bool AskCancelConfirmation(HWND owner, const CancelDialogTexts& texts) {
    return Run(owner, {&texts, false}) == IDOK;
}

void ShowErrorBox(HWND owner, const std::string& message, const std::string& closeCaption) {
    const CancelDialogTexts texts = {message, closeCaption, std::string()};
    Run(owner, {&texts, true});
}

}  // namespace pages
