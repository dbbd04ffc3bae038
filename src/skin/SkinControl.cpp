#include "skin/SkinControl.h"

#include <commctrl.h>

namespace skin {

namespace {
const UINT_PTR kSubclassId = 0x5343;  // one subclass per control
}

SkinControl::~SkinControl() {
    if (subclassed_ && hwnd_ && IsWindow(hwnd_)) RemoveWindowSubclass(hwnd_, &SubclassProc, kSubclassId);
    if (font_) {
        // The window may still hold the font: take it back before deleting.
        if (hwnd_ && IsWindow(hwnd_) &&
            reinterpret_cast<HFONT>(SendMessageA(hwnd_, WM_GETFONT, 0, 0)) == font_)
            SendMessageA(hwnd_, WM_SETFONT, 0, FALSE);
        DeleteObject(font_);
    }
}

void SkinControl::SetOwnedFont(HFONT font) {
    if (font == font_) return;
    if (hwnd_) SendMessageA(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
    if (font_) DeleteObject(font_);
    font_ = font;
}

void SkinControl::Subclass() {
    if (hwnd_ && !subclassed_)
        subclassed_ = SetWindowSubclass(hwnd_, &SubclassProc, kSubclassId,
                                        reinterpret_cast<DWORD_PTR>(this)) != FALSE;
}

LRESULT SkinControl::Default(UINT msg, WPARAM wParam, LPARAM lParam) {
    return DefSubclassProc(hwnd_, msg, wParam, lParam);
}

LRESULT CALLBACK SkinControl::SubclassProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam,
                                           UINT_PTR, DWORD_PTR self) {
    SkinControl* control = reinterpret_cast<SkinControl*>(self);
    if (msg == WM_NCDESTROY) {
        RemoveWindowSubclass(hwnd, &SubclassProc, kSubclassId);
        control->subclassed_ = false;
        return DefSubclassProc(hwnd, msg, wParam, lParam);
    }
    LRESULT result = 0;
    if (control->HandleMessage(msg, wParam, lParam, &result)) return result;
    return DefSubclassProc(hwnd, msg, wParam, lParam);
}

StandardControl::~StandardControl() {
    if (!images_) return;
    if (Window() && IsWindow(Window())) SendMessageA(Window(), TVM_SETIMAGELIST, TVSIL_NORMAL, 0);
    ImageList_Destroy(images_);
}

void StandardControl::SetOwnedImageList(HIMAGELIST images) {
    if (images_ && images_ != images) ImageList_Destroy(images_);
    images_ = images;
}

bool SkinControl::HandlePaintMessage(UINT msg, WPARAM wParam, LRESULT* result) {
    switch (msg) {
    case WM_ERASEBKGND:
        *result = 1;
        return true;
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(hwnd_, &ps);
        Paint(dc);
        EndPaint(hwnd_, &ps);
        *result = 0;
        return true;
    }
    case WM_PRINTCLIENT:
        Paint(reinterpret_cast<HDC>(wParam));
        *result = 0;
        return true;
    default:
        return false;
    }
}

}  // namespace skin
