#include "uninstall/Maintenance.h"

#include <windows.h>

#include "core/Trace.h"
#include "res/uninstall_resource.h"
#include "util/Text.h"

namespace uninstall {

namespace {

using core::MessageId;

struct DialogInput {
    const InstalledProduct* product;
    const UninstallTexts* texts;
    bool setupPresent;
};

void SetUpButton(HWND dialog, int id, const std::string& caption, bool offered, bool enabled) {
    HWND button = GetDlgItem(dialog, id);
    SetWindowTextA(button, caption.c_str());
    ShowWindow(button, offered ? SW_SHOW : SW_HIDE);
    EnableWindow(button, offered && enabled);
}

void SetUp(HWND dialog, const DialogInput& in) {
    const UninstallTexts& t = *in.texts;
    SetWindowTextA(dialog, t.Of(MessageId::UninstallTitle).c_str());
    SetDlgItemTextA(dialog, IDC_MAINTENANCE_TEXT, t.Of(MessageId::MaintenanceQuestion).c_str());
    const bool setupOffered = !in.product->noModify || !in.product->noRepair;
    if (setupOffered && !in.setupPresent)
        SetDlgItemTextA(dialog, IDC_MAINTENANCE_NOTE, t.Of(MessageId::MaintenanceSetupMissing).c_str());
    SetUpButton(dialog, IDC_MAINTENANCE_MODIFY, t.Of(MessageId::MaintenanceModify), !in.product->noModify,
                in.setupPresent);
    SetUpButton(dialog, IDC_MAINTENANCE_REPAIR, t.Of(MessageId::MaintenanceRepair), !in.product->noRepair,
                in.setupPresent);
    SetUpButton(dialog, IDC_MAINTENANCE_REMOVE, t.Of(MessageId::MaintenanceRemove), !in.product->noRemove, true);
    SetDlgItemTextA(dialog, IDCANCEL, t.Of(MessageId::MaintenanceLeave).c_str());
}

MaintenanceChoice ChoiceOf(int id) {
    switch (id) {
        case IDC_MAINTENANCE_MODIFY: return MaintenanceChoice::Modify;
        case IDC_MAINTENANCE_REPAIR: return MaintenanceChoice::Repair;
        case IDC_MAINTENANCE_REMOVE: return MaintenanceChoice::Remove;
        default: return MaintenanceChoice::Leave;
    }
}

INT_PTR CALLBACK DialogProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_INITDIALOG) {
        SetUp(hwnd, *reinterpret_cast<const DialogInput*>(lParam));
        SetForegroundWindow(hwnd);
        return TRUE;
    }
    if (msg == WM_COMMAND && HIWORD(wParam) == BN_CLICKED) {
        const int id = LOWORD(wParam);
        if (id == IDCANCEL || ChoiceOf(id) != MaintenanceChoice::Leave)
            EndDialog(hwnd, static_cast<INT_PTR>(ChoiceOf(id)));
        return TRUE;
    }
    return FALSE;
}

}  // namespace

MaintenanceChoice ChooseMaintenance(const InstalledProduct& product, const UninstallTexts& texts,
                                    bool setupPresent) {
    DialogInput in = {&product, &texts, setupPresent};
    const INT_PTR result = DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_MAINTENANCE),
                                           nullptr, &DialogProc, reinterpret_cast<LPARAM>(&in));
    if (result == -1) {
        core::trace::Failure("DialogBoxParamA (maintenance)", GetLastError());
        return MaintenanceChoice::Leave;
    }
    return static_cast<MaintenanceChoice>(result);
}

bool StartSetup(const std::string& setupPath) {
    const size_t slash = setupPath.find_last_of('\\');
    const std::string folder = slash == std::string::npos ? std::string() : setupPath.substr(0, slash + 1);
    std::string commandLine = "\"" + setupPath + "\"";
    // The setup writes into this log (an elevated one reads no environment).
    const std::string log = core::trace::LogPath();
    if (!log.empty()) commandLine += " \"/LOG=" + log + "\"";
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    if (!CreateProcessA(setupPath.c_str(), &commandLine[0], nullptr, nullptr, FALSE, NORMAL_PRIORITY_CLASS,
                        nullptr, folder.empty() ? nullptr : folder.c_str(), &startup, &process)) {
        core::trace::Failure("CreateProcessA", setupPath, GetLastError());
        return false;
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return true;
}

}  // namespace uninstall
