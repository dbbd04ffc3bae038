#include "skin/PaintedTextControl.h"

#include "skin/SkinGdi.h"
#include "skin/WindowText.h"

namespace skin {

PaintedTextControl::PaintedTextControl(HWND hwnd) : SkinControl(hwnd) {
    back_ = GetSysColor(COLOR_BTNFACE);
    backText_ = ButtonFaceText();
    Subclass();
}

PaintedTextControl::~PaintedTextControl() {
    if (brush_) DeleteObject(brush_);
}

void PaintedTextControl::SetBackColor(const std::string& colorText) {
    const std::string face = ButtonFaceText();
    backText_ = skin::layout::ResolveBackground(colorText, ButtonFace());
    fill_ = backText_ != face;
    back_ = ParseColorref(backText_);
    if (brush_) DeleteObject(brush_);
    brush_ = CreateSolidBrush(back_);
    Repaint();
}

void PaintedTextControl::SetTextColor(const std::string& colorText) {
    text_ = ParseColorref(colorText);
    Repaint();
}

void PaintedTextControl::SetAlignment(const std::string& word) {
    UINT align;
    if (word == "Left") align = DT_LEFT;
    else if (word == "Center") align = DT_CENTER;
    else if (word == "Right") align = DT_RIGHT;
    else return;
    format_ = DT_WORDBREAK | align;
    Repaint();
}

void PaintedTextControl::SetLink(bool on) {
    link_ = on;
    if (on) text_ = RGB(0, 0, 255);
    font_.underline = on;
    RebuildFont();
}

void PaintedTextControl::SetFont(const std::string& face, int points, bool bold, bool italic) {
    font_.face = face;
    font_.points = points;
    font_.bold = bold;
    font_.italic = italic;
    RebuildFont();
}

void PaintedTextControl::RebuildFont() {
    SetOwnedFont(CreateSkinFont(font_));
    Repaint();
}

void PaintedTextControl::Repaint() {
    if (!Window()) return;
    if (fill_) InvalidateRect(Window(), nullptr, TRUE);
    else RepaintThroughParent(Window());
}

void PaintedTextControl::Paint(HDC dc) {
    RECT rc;
    GetClientRect(Window(), &rc);
    // Read and drawn as UTF-16: a text from a Unicode language file keeps
    // the characters the ANSI code page lacks.
    const std::wstring text = WindowTextWide(Window());

    HFONT font = OwnedFont();
    if (!font) font = reinterpret_cast<HFONT>(SendMessageA(Window(), WM_GETFONT, 0, 0));
    if (!font) font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    HGDIOBJ oldFont = SelectObject(dc, font);
    if (fill_ && brush_) {
        FillRect(dc, &rc, brush_);
        ::SetBkColor(dc, back_);
    }
    SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, text_);
    DrawTextW(dc, text.c_str(), -1, &rc, format_);
    SelectObject(dc, oldFont);
}

bool PaintedTextControl::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result) {
    // Paint fills when it should; otherwise the page shows through.
    if (HandlePaintMessage(msg, wParam, result)) return true;
    switch (msg) {
    case WM_SETTEXT:
        *result = Default(msg, wParam, lParam);
        Repaint();
        return true;
    default:
        return false;
    }
}

}  // namespace skin
