#include "uninstall/PlainRemovalDialog.h"

#include <commctrl.h>

#include "core/Trace.h"
#include "res/uninstall_resource.h"

namespace uninstall {

namespace {

using core::MessageId;

void SetText(HWND dialog, int id, const std::string& text) { SetDlgItemTextA(dialog, id, text.c_str()); }

}  // namespace

PlainRemovalDialog::~PlainRemovalDialog() {
    if (dialog_) DestroyWindow(dialog_);
}

bool PlainRemovalDialog::Open() {
    dialog_ = CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_UNINSTALL), nullptr,
                                 &PlainRemovalDialog::DialogProc, reinterpret_cast<LPARAM>(this));
    if (!dialog_) {
        core::trace::Failure("CreateDialogParamA (uninstall)", GetLastError());
        return false;
    }
    SetWindowTextA(dialog_, texts_.Of(MessageId::UninstallTitle).c_str());
    SetText(dialog_, IDYES, texts_.Of(MessageId::UninstallYesButton));
    SetText(dialog_, IDNO, texts_.Of(MessageId::UninstallNoButton));
    return true;
}

bool PlainRemovalDialog::AskToRemove() {
    SetText(dialog_, IDC_UNINSTALL_TEXT, texts_.Of(MessageId::UninstallQuestion));
    asking_ = true;
    answered_ = false;
    ShowWindow(dialog_, SW_SHOWNORMAL);
    SetForegroundWindow(dialog_);
    const bool gotAnswer = DispatchUntilAnswered(answered_, dialog_);
    asking_ = false;
    return gotAnswer && remove_;
}

void PlainRemovalDialog::RemovalStarted(const std::string& status) {
    EnableWindow(GetDlgItem(dialog_, IDYES), FALSE);
    EnableWindow(GetDlgItem(dialog_, IDNO), FALSE);
    SetStatus(status);
}

void PlainRemovalDialog::SetStatus(const std::string& text) { SetText(dialog_, IDC_UNINSTALL_STATUS, text); }

// The 32-bit range message: a log may have more than 65 535 records.
void PlainRemovalDialog::SetProgressRange(int count) {
    throttle_.SetRange(count);
    SendDlgItemMessageA(dialog_, IDC_UNINSTALL_PROGRESS, PBM_SETRANGE32, 0, count);
}

void PlainRemovalDialog::SetProgressPosition(int position) {
    if (throttle_.Due(position, GetTickCount()))
        SendDlgItemMessageA(dialog_, IDC_UNINSTALL_PROGRESS, PBM_SETPOS, static_cast<WPARAM>(position), 0);
}

// Escape and the close box arrive as IDCANCEL: No. Once the removal runs,
// nothing stops it.
void PlainRemovalDialog::OnCommand(int id) {
    if (!asking_ || answered_) return;
    if (id != IDYES && id != IDNO && id != IDCANCEL) return;
    remove_ = id == IDYES;
    answered_ = true;
}

INT_PTR CALLBACK PlainRemovalDialog::DialogProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_INITDIALOG) {
        SetWindowLongPtrA(hwnd, DWLP_USER, lParam);
        return TRUE;
    }
    auto* self = reinterpret_cast<PlainRemovalDialog*>(GetWindowLongPtrA(hwnd, DWLP_USER));
    if (self && msg == WM_COMMAND && HIWORD(wParam) == BN_CLICKED) {
        self->OnCommand(LOWORD(wParam));
        return TRUE;
    }
    return FALSE;
}

}  // namespace uninstall
