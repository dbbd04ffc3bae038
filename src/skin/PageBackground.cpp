#include "skin/PageBackground.h"

namespace skin {

PageBackground::PageBackground() {
    color_ = GetSysColor(COLOR_BTNFACE);
    brush_ = CreateSolidBrush(color_);
}

PageBackground::~PageBackground() {
    ClearPicture();
    if (brush_) DeleteObject(brush_);
}

void PageBackground::SetColor(COLORREF color) {
    color_ = color;
    if (brush_) DeleteObject(brush_);
    brush_ = CreateSolidBrush(color);
}

void PageBackground::ClearPicture() {
    if (memory_) {
        SelectObject(memory_, oldBitmap_);
        DeleteDC(memory_);
    }
    memory_ = nullptr;
    oldBitmap_ = nullptr;
    picture_.Release();
    width_ = height_ = 0;
    loaded_ = false;
}

bool PageBackground::LoadPicture(const std::string& path, HWND window) {
    ClearPicture();
    if (!FileExists(path) || !picture_.LoadFileBytes(path)) return false;
    HBITMAP bitmap = picture_.Bitmap();
    BITMAP description;
    if (!bitmap || !GetObjectA(bitmap, sizeof description, &description)) {
        picture_.Release();
        return false;
    }
    HDC windowDc = GetDC(window);
    memory_ = CreateCompatibleDC(windowDc);
    ReleaseDC(window, windowDc);
    if (!memory_) {
        picture_.Release();
        return false;
    }
    oldBitmap_ = SelectObject(memory_, bitmap);
    width_ = description.bmWidth;
    height_ = description.bmHeight;
    loaded_ = true;
    return true;
}

void PageBackground::PaintPicture(HDC dc, HWND window) const {
    if (!loaded_) return;
    RECT outer;
    GetWindowRect(window, &outer);
    int oldMode = SetStretchBltMode(dc, COLORONCOLOR);
    StretchBlt(dc, 0, 0, outer.right - outer.left, outer.bottom - outer.top, memory_, 0, 0, width_,
               height_, SRCCOPY);
    SetStretchBltMode(dc, oldMode);
}

}  // namespace skin
