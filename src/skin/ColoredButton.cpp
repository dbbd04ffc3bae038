#include "skin/ColoredButton.h"

#include "skin/SkinGdi.h"

namespace skin {

ColoredButton::ColoredButton(HWND hwnd) : SkinControl(hwnd) {
    back_ = GetSysColor(COLOR_BTNFACE);
    brush_ = CreateSolidBrush(back_);
}

ColoredButton::~ColoredButton() {
    if (brush_) DeleteObject(brush_);
}

void ColoredButton::SetBackColor(const std::string& colorText) {
    back_ = ParseColorref(skin::layout::ResolveBackground(colorText, ButtonFace()));
    if (brush_) DeleteObject(brush_);
    brush_ = CreateSolidBrush(back_);
    if (Window()) InvalidateRect(Window(), nullptr, TRUE);
}

void ColoredButton::SetTextColor(const std::string& colorText) {
    text_ = ParseColorref(skin::layout::ResolveTextColor(colorText));
    if (Window()) InvalidateRect(Window(), nullptr, TRUE);
}

HBRUSH ColoredButton::OnReflectedColor(HDC dc) {
    ::SetTextColor(dc, text_);
    ::SetBkColor(dc, back_);
    return brush_;
}

}  // namespace skin
