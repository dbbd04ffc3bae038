#include "pages/FolderBrowser.h"

#include <shlobj.h>

#include "pages/FolderCheck.h"
#include "core/Messages.h"

namespace pages {

namespace {

constexpr int kBrowserTreeCaption = 14147;  // the browser's own prompt line
constexpr int kBrowserTree = 14145;
constexpr int kEditBoxId = 14148;
constexpr int kMaxTyped = 260;

struct BrowseState {
    std::string initial;
    std::string chosen;
    WNDPROC originalProc = nullptr;
};

std::string EditText(HWND browser) {
    char buf[kMaxTyped + 1] = "";
    GetDlgItemTextA(browser, kEditBoxId, buf, sizeof buf);
    return buf;
}

// Catches OK to check the typed folder before the browser closes.
LRESULT CALLBACK BrowserSubclass(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto* state = reinterpret_cast<BrowseState*>(GetPropA(hwnd, "CorvaneBrowse"));
    if (msg == WM_NCDESTROY) RemovePropA(hwnd, "CorvaneBrowse");
    if (msg == WM_COMMAND && state) {
        if (LOWORD(wParam) == IDOK) {
            const std::string typed = EditText(hwnd);
            if (CheckDestinationFolder(hwnd, typed) != FolderCheckResult::Good) {
                SetFocus(GetDlgItem(hwnd, kEditBoxId));
                return 0;
            }
            state->chosen = typed;
        } else if (LOWORD(wParam) == kEditBoxId && HIWORD(wParam) == EN_CHANGE) {
            SendMessageA(hwnd, BFFM_ENABLEOK, 0, !EditText(hwnd).empty());
            return 0;
        }
    }
    return CallWindowProcA(state ? state->originalProc : DefWindowProcA, hwnd, msg, wParam, lParam);
}

void AddEditBox(HWND browser, BrowseState* state) {
    SetWindowTextA(browser, core::kMessageCaption);
    ShowWindow(GetDlgItem(browser, kBrowserTreeCaption), SW_HIDE);
    RECT tree = {};
    if (HWND treeWindow = GetDlgItem(browser, kBrowserTree)) {
        GetWindowRect(treeWindow, &tree);
        MapWindowPoints(nullptr, browser, reinterpret_cast<POINT*>(&tree), 2);
    }
    HWND edit = CreateWindowExA(WS_EX_CLIENTEDGE, "EDIT", "",
                                WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL, tree.left,
                                tree.top - 27, tree.right - tree.left, 23, browser,
                                reinterpret_cast<HMENU>(static_cast<INT_PTR>(kEditBoxId)), nullptr,
                                nullptr);
    SendMessageA(edit, WM_SETFONT, SendMessageA(browser, WM_GETFONT, 0, 0), TRUE);
    SetPropA(browser, "CorvaneBrowse", state);
    state->originalProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(browser, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(BrowserSubclass)));
}

int CALLBACK BrowseCallback(HWND browser, UINT msg, LPARAM lParam, LPARAM data) {
    auto* state = reinterpret_cast<BrowseState*>(data);
    if (msg == BFFM_INITIALIZED) {
        AddEditBox(browser, state);
        char current[MAX_PATH] = "";
        if (state->initial.empty()) GetCurrentDirectoryA(sizeof current, current);
        std::string start = state->initial.empty() ? std::string(current) : state->initial;
        // The destination folder carries a trailing backslash, which a typed
        // folder may not have.
        if (start.size() > 3 && start.back() == '\\') start.pop_back();
        SendMessageA(browser, BFFM_SETSELECTIONA, TRUE, reinterpret_cast<LPARAM>(start.c_str()));
        SetDlgItemTextA(browser, kEditBoxId, start.c_str());
    } else if (msg == BFFM_SELCHANGED) {
        char path[MAX_PATH] = "";
        const bool ok = SHGetPathFromIDListA(reinterpret_cast<LPCITEMIDLIST>(lParam), path) &&
                        path[1] == ':';
        if (!ok) path[0] = '\0';
        SendMessageA(browser, BFFM_ENABLEOK, 0, ok);
        SendMessageA(browser, BFFM_SETSTATUSTEXTA, 0, reinterpret_cast<LPARAM>(path));
        SetDlgItemTextA(browser, kEditBoxId, path);
    }
    return 0;
}

}  // namespace

std::string BrowseForDestination(HWND owner, const std::string& initialFolder) {
    BrowseState state;
    state.initial = initialFolder;
    BROWSEINFOA info = {};
    info.hwndOwner = owner;
    info.lpszTitle = core::EnglishText(core::MessageId::BrowsePrompt);
    info.ulFlags = BIF_RETURNONLYFSDIRS | BIF_DONTGOBELOWDOMAIN;
    info.lpfn = BrowseCallback;
    info.lParam = reinterpret_cast<LPARAM>(&state);
    LPITEMIDLIST chosen = SHBrowseForFolderA(&info);
    if (chosen) CoTaskMemFree(chosen);
    return chosen ? state.chosen : std::string();
}

}  // namespace pages
