// A static control that draws its own text: TEXT, and with the same drawing
// RECT, HOTSPOT, ANIMATION and LISTVIEW. It fills its background only when
// its background colour differs from the system's button-face colour, so
// over a page picture a button-face text shows the picture through; the text
// itself is always drawn with a transparent background.
#pragma once

#include <string>

#include "skin/SkinControl.h"
#include "skin/SkinFont.h"

namespace skin {

class PaintedTextControl : public SkinControl {
public:
    explicit PaintedTextControl(HWND hwnd);
    ~PaintedTextControl() override;

    // An empty text is "COLOR_BTNFACE"; a button-face name is stored as the
    // current button-face colour "%u,%u,%u". Fills when that text differs
    // from the button-face colour text.
    void SetBackColor(const std::string& colorText);
    void SetTextColor(const std::string& colorText);
    // "Left", "Center" or "Right" (other words change nothing).
    void SetAlignment(const std::string& word);
    // On: blue text and an underlined font; off: the font without underline.
    void SetLink(bool on);
    void SetFont(const std::string& face, int points, bool bold, bool italic);

    const std::string& BackColorText() const { return backText_; }
    COLORREF BackColor() const { return back_; }
    COLORREF TextColor() const { return text_; }
    bool FillsBackground() const { return fill_; }
    UINT Format() const { return format_; }
    bool IsLink() const { return link_; }
    HFONT Font() const { return OwnedFont(); }

    void Paint(HDC dc) override;

protected:
    bool HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result) override;

private:
    void RebuildFont();
    void Repaint();

    std::string backText_;
    COLORREF back_;
    COLORREF text_ = RGB(0, 0, 0);
    HBRUSH brush_ = nullptr;
    bool fill_ = false;
    UINT format_ = DT_WORDBREAK | DT_LEFT;
    bool link_ = false;
    FontSpec font_;
};

}  // namespace skin
