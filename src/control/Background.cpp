#include "control/Background.h"

#include "core/Messages.h"
#include "core/Trace.h"

namespace control {

namespace {

constexpr int kTitleHeight = 40;
constexpr int kFooterHeight = 20;
constexpr char kFontFace[] = "Times New Roman";
// Where the texts and the picture go in the client area.
constexpr int kTitleLeft = 24, kTitleTop = 14;
constexpr int kFooterRightMargin = 100, kFooterBottomMargin = 50;
constexpr int kPictureLeft = 10, kPictureTop = 10;

// Posted to the frame with a window that is to be active again.
UINT GiveBackMessage() {
    static const UINT message = RegisterWindowMessageA("CorvaneBackgroundGiveBack");
    return message;
}

COLORREF ToColorRef(const background::Rgb& c) { return RGB(c.red, c.green, c.blue); }

// Fills rows [top, bottom) with one colour.
void FillRows(HDC dc, int width, int top, int bottom, COLORREF color) {
    RECT band = {0, top, width, bottom};
    HBRUSH brush = CreateSolidBrush(color);
    FillRect(dc, &band, brush);
    DeleteObject(brush);
}

// White text, transparent, in the background's font of `height` cells,
// aligned by `align` to (x, y).
void DrawWhiteText(HDC dc, const std::string& text, int height, UINT align, int x, int y) {
    if (text.empty()) return;
    HFONT font = CreateFontA(height, 0, 0, 0, FW_DONTCARE, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                             OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                             DEFAULT_PITCH | FF_DONTCARE, kFontFace);
    HGDIOBJ old = font ? SelectObject(dc, font) : nullptr;
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, RGB(255, 255, 255));
    const UINT oldAlign = SetTextAlign(dc, align);
    TextOutA(dc, x, y, text.c_str(), static_cast<int>(text.size()));
    SetTextAlign(dc, oldAlign);
    if (old) SelectObject(dc, old);
    if (font) DeleteObject(font);
}

}  // namespace

void Background::Open(HWND frame, const background::BackgroundSettings& settings,
                      const std::string& picturePath) {
    on_ = true;
    settings_ = settings;
    if (settings_.footer.size() > background::kMaxFooterLength)
        settings_.footer.resize(background::kMaxFooterLength);
    top_ = background::ParseColor(settings_.topColor);
    bottom_ = background::ParseColor(settings_.bottomColor);
    SetMenu(frame, nullptr);
    SetWindowTextA(frame, core::kMessageCaption);
    if (!picturePath.empty()) picture_.LoadFileBytes(picturePath);
    ShowWindow(frame, SW_SHOWMAXIMIZED);
    // Shown maximised, it was also activated and so raised: it goes behind
    // the pages (the wizard's pages come after it; a start page may be up).
    SetWindowPos(frame, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    InvalidateRect(frame, nullptr, TRUE);
    UpdateWindow(frame);
}

bool Background::HandleMessage(HWND frame, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    if (!on_) return false;
    switch (msg) {
    case WM_ERASEBKGND:
        Erase(frame, reinterpret_cast<HDC>(wParam));
        result = 1;
        return true;
    case WM_PAINT:
        Paint(frame);
        result = 0;
        return true;
    case WM_WINDOWPOSCHANGING: {
        // Whatever moves it (maximising, activation, a click), the background
        // stays behind every page. Bending each move keeps the window system
        // from ever stacking it above one.
        auto* pos = reinterpret_cast<WINDOWPOS*>(lParam);
        pos->hwndInsertAfter = HWND_BOTTOM;
        pos->flags &= ~SWP_NOZORDER;
        result = 0;
        return true;
    }
    case WM_ACTIVATE: {
        // Activated (shown, clicked, chosen), it would lie over the page the
        // user was on: that page gets the focus back, and with it the top.
        HWND previous = reinterpret_cast<HWND>(lParam);
        if (LOWORD(wParam) != WA_INACTIVE && previous && previous != frame && IsWindowVisible(previous))
            PostMessageA(frame, GiveBackMessage(), reinterpret_cast<WPARAM>(previous), 0);
        return false;  // the default handling (focus) goes on
    }
    case WM_MOUSEACTIVATE:
        result = MA_NOACTIVATE;
        return true;
    case WM_CLOSE:
        result = 0;  // the setup ends through its pages, not by closing its backdrop
        return true;
    default:
        if (msg == GiveBackMessage()) {
            HWND page = reinterpret_cast<HWND>(wParam);
            if (IsWindow(page) && IsWindowVisible(page)) SetActiveWindow(page);
            result = 0;
            return true;
        }
        return false;
    }
}

void Background::Erase(HWND frame, HDC dc) const {
    RECT client;
    GetClientRect(frame, &client);
    const int width = client.right, height = client.bottom;
    // One fill per run of rows of the same colour.
    int runStart = 0;
    background::Rgb runColor = background::GradientRow(top_, bottom_, 0, height);
    for (int y = 1; y <= height; ++y) {
        const background::Rgb c = y < height ? background::GradientRow(top_, bottom_, y, height) : runColor;
        if (y < height && c == runColor) continue;
        FillRows(dc, width, runStart, y, ToColorRef(runColor));
        runStart = y;
        runColor = c;
    }
    DrawWhiteText(dc, settings_.title, kTitleHeight, TA_LEFT | TA_TOP, kTitleLeft, kTitleTop);
    DrawWhiteText(dc, settings_.footer, kFooterHeight, TA_RIGHT | TA_BOTTOM, width - kFooterRightMargin,
             height - kFooterBottomMargin);
}

void Background::Paint(HWND frame) const {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(frame, &ps);
    if (dc && picture_.Loaded()) picture_.Render(dc, kPictureLeft, kPictureTop);
    EndPaint(frame, &ps);
}

}  // namespace control
