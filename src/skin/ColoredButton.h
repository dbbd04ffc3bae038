// GROUPBOX, RADIO and CHECKBOX: system-drawn buttons whose text and
// background colours come from the layout. The page reflects the buttons'
// WM_CTLCOLOR messages here; the answer sets both colours on the device
// context and gives a brush of the background colour.
#pragma once

#include <string>

#include "skin/SkinControl.h"

namespace skin {

class ColoredButton : public SkinControl {
public:
    explicit ColoredButton(HWND hwnd);
    ~ColoredButton() override;

    // An empty text or "COLOR_BTNFACE" is the button-face colour.
    void SetBackColor(const std::string& colorText);
    // An empty text is black.
    void SetTextColor(const std::string& colorText);

    COLORREF BackColor() const { return back_; }
    COLORREF TextColor() const { return text_; }

    HBRUSH OnReflectedColor(HDC dc) override;

private:
    COLORREF back_;
    COLORREF text_ = RGB(0, 0, 0);
    HBRUSH brush_ = nullptr;
};

}  // namespace skin
