#include "skin/PictureControl.h"

#include "skin/SkinGdi.h"
#include "core/Messages.h"

namespace skin {

using core::kMessageCaption;

PictureControl::PictureControl(HWND hwnd) : SkinControl(hwnd) {
    back_ = GetSysColor(COLOR_BTNFACE);
    brush_ = CreateSolidBrush(back_);
    Subclass();
}

PictureControl::~PictureControl() {
    if (brush_) DeleteObject(brush_);
    if (icon_) DestroyIcon(icon_);
}

bool PictureControl::LoadFile(const std::string& path, bool reportMissing) {
    if (!FileExists(path)) {
        if (reportMissing) {
            std::string message =
                core::FormatText(core::EnglishText(core::MessageId::IconFileMissing), {path});
            MessageBoxA(GetParent(Window()), message.c_str(), kMessageCaption,
                        MB_OK | MB_ICONEXCLAMATION);
        }
        return false;
    }
    bool loaded = picture_.LoadPath(path);
    InvalidateRect(Window(), nullptr, TRUE);
    return loaded;
}

void PictureControl::SetBuiltinIcon(int resourceId) {
    HICON icon = static_cast<HICON>(LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(resourceId),
                                               IMAGE_ICON, 32, 32, 0));
    if (!icon) return;
    SendMessageA(Window(), STM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(icon));
    SendMessageA(Window(), STM_SETICON, reinterpret_cast<WPARAM>(icon), 0);
    if (icon_) DestroyIcon(icon_);
    icon_ = icon;
    InvalidateRect(Window(), nullptr, TRUE);
}

void PictureControl::SetBackColor(const std::string& colorText) {
    back_ = ToColorref(skin::layout::ParseColor(skin::layout::ResolveBackground(colorText, ButtonFace())));
    if (brush_) DeleteObject(brush_);
    brush_ = CreateSolidBrush(back_);
    InvalidateRect(Window(), nullptr, TRUE);
}

void PictureControl::PaintPicture(HDC dc) {
    if (picture_.Transparent()) {
        picture_.Render(dc, 0, 0);
        return;
    }
    // Drawn off screen at its own size first, then copied.
    int w = picture_.Width(), h = picture_.Height();
    HDC memory = CreateCompatibleDC(dc);
    HBITMAP bitmap = CreateCompatibleBitmap(dc, w > 0 ? w : 1, h > 0 ? h : 1);
    if (memory && bitmap) {
        HGDIOBJ old = SelectObject(memory, bitmap);
        picture_.Render(memory, 0, 0);
        BitBlt(dc, 0, 0, w, h, memory, 0, 0, SRCCOPY);
        SelectObject(memory, old);
    }
    if (bitmap) DeleteObject(bitmap);
    if (memory) DeleteDC(memory);
}

void PictureControl::Paint(HDC dc) {
    if (icon_) {
        RECT rc;
        GetClientRect(Window(), &rc);
        FillRect(dc, &rc, brush_);
        DrawStateA(dc, nullptr, nullptr, reinterpret_cast<LPARAM>(icon_), 0, 0, 0, 32, 32, DST_ICON);
    } else if (picture_.Loaded()) {
        PaintPicture(dc);
    }
}

bool PictureControl::HandleMessage(UINT msg, WPARAM wParam, LPARAM, LRESULT* result) {
    return HandlePaintMessage(msg, wParam, result);
}

}  // namespace skin
