#include "skin/SkinGdi.h"

namespace skin {

COLORREF ToColorref(const skin::layout::Rgb& c) {
    return RGB(static_cast<BYTE>(c.red), static_cast<BYTE>(c.green), static_cast<BYTE>(c.blue));
}

COLORREF ParseColorref(const std::string& text) { return ToColorref(skin::layout::ParseColor(text)); }

skin::layout::Rgb ButtonFace() {
    COLORREF c = GetSysColor(COLOR_BTNFACE);
    return skin::layout::Rgb{GetRValue(c), GetGValue(c), GetBValue(c)};
}

std::string ButtonFaceText() { return skin::layout::FormatColor(ButtonFace()); }

namespace {

void ChangeLong(HWND hwnd, int index, LONG_PTR add, LONG_PTR remove) {
    if (!hwnd) return;
    LONG_PTR style = GetWindowLongPtrA(hwnd, index);
    LONG_PTR changed = (style & ~remove) | add;
    if (changed == style) return;
    SetWindowLongPtrA(hwnd, index, changed);
    SetWindowPos(hwnd, nullptr, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

}  // namespace

void ChangeStyle(HWND hwnd, LONG_PTR add, LONG_PTR remove) { ChangeLong(hwnd, GWL_STYLE, add, remove); }

void ChangeExStyle(HWND hwnd, LONG_PTR add, LONG_PTR remove) {
    ChangeLong(hwnd, GWL_EXSTYLE, add, remove);
}

void RepaintThroughParent(HWND child) {
    HWND parent = child ? GetParent(child) : nullptr;
    if (!parent) {
        if (child) InvalidateRect(child, nullptr, TRUE);
        return;
    }
    RECT rc;
    GetWindowRect(child, &rc);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rc), 2);
    RedrawWindow(parent, &rc, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

}  // namespace skin
