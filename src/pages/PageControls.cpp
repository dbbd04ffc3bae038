#include "pages/PageControls.h"

#include <windows.h>

#include <vector>

#include "skin/SkinnedPage.h"

namespace pages::pagectl {

void SetTextAndRepaint(HWND page, HWND control, const std::string& text) {
    SendMessageA(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
    RECT r;
    GetWindowRect(control, &r);
    MapWindowPoints(nullptr, page, reinterpret_cast<POINT*>(&r), 2);
    RedrawWindow(page, &r, nullptr, RDW_ERASE | RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

void SetText(skin::SkinnedPage& page, const char* name, const std::string& text) {
    if (HWND control = page.ControlWindow(name)) SetTextAndRepaint(page.Window(), control, text);
}

std::string Text(skin::SkinnedPage& page, const char* name) {
    HWND control = page.ControlWindow(name);
    if (!control) return std::string();
    const int length = GetWindowTextLengthA(control);
    std::vector<char> buf(static_cast<size_t>(length) + 1, '\0');
    GetWindowTextA(control, buf.data(), length + 1);
    return buf.data();
}

void SetChecked(skin::SkinnedPage& page, const char* name, bool checked) {
    if (HWND control = page.ControlWindow(name))
        SendMessageA(control, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

bool IsChecked(skin::SkinnedPage& page, const char* name) {
    HWND control = page.ControlWindow(name);
    return control && SendMessageA(control, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void Enable(skin::SkinnedPage& page, const char* name, bool enabled) {
    if (HWND control = page.ControlWindow(name)) EnableWindow(control, enabled);
}

void Show(skin::SkinnedPage& page, const char* name, bool visible) {
    if (HWND control = page.ControlWindow(name)) ShowWindow(control, visible ? SW_SHOW : SW_HIDE);
}

void Focus(skin::SkinnedPage& page, const char* name) {
    if (HWND control = page.ControlWindow(name)) SetFocus(control);
}

std::string LayoutName(const skin::SkinnedPage& page) {
    const std::string& path = page.LayoutPath();
    const size_t slash = path.find_last_of("\\/");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace pages::pagectl
