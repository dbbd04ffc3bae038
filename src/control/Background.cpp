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

// What maximising does, without the activation ShowWindow adds: the window
// covers the work area with its sizing borders beyond it, and is marked
// maximised.
void ShowMaximisedBehind(HWND frame) {
    RECT work = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    const LONG style = GetWindowLongA(frame, GWL_STYLE);
    RECT outer = work;
    AdjustWindowRectEx(&outer, style & ~WS_BORDER, FALSE, GetWindowLongA(frame, GWL_EXSTYLE));
    SetWindowLongA(frame, GWL_STYLE, style | WS_MAXIMIZE);
    SetWindowPos(frame, HWND_BOTTOM, outer.left, outer.top, outer.right - outer.left, outer.bottom - outer.top,
                 SWP_SHOWWINDOW | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    // A window being shown keeps its place in the z-order: shown, it goes
    // to the bottom.
    SetWindowPos(frame, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
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
    // The background is never the active window: activated, the window
    // system raises it over the pages, the splash and the billboards (even
    // those it knows to lie above it). So it is shown maximised without
    // being activated, and disabled, so that closing a page never hands it
    // the activation (it takes no input anyway).
    EnableWindow(frame, FALSE);
    ShowMaximisedBehind(frame);
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
        // Whatever moves it, the background stays behind every other window.
        auto* pos = reinterpret_cast<WINDOWPOS*>(lParam);
        pos->hwndInsertAfter = HWND_BOTTOM;
        pos->flags &= ~SWP_NOZORDER;
        result = 0;
        return true;
    }
    case WM_CLOSE:
        result = 0;  // the setup ends through its pages, not by closing its backdrop
        return true;
    default:
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
