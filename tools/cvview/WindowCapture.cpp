#include "WindowCapture.h"

#include "skin/SkinnedPage.h"

namespace {

HBITMAP CreateCanvas(HDC reference, int width, int height, void** bits) {
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    return CreateDIBSection(reference, &info, DIB_RGB_COLORS, bits, nullptr, 0);
}

}  // namespace

HBITMAP CaptureWindow(HWND hwnd) {
    RECT outer;
    if (!GetWindowRect(hwnd, &outer)) return nullptr;
    int width = outer.right - outer.left, height = outer.bottom - outer.top;
    if (width <= 0 || height <= 0) return nullptr;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    void* bits = nullptr;
    HBITMAP canvas = CreateCanvas(screen, width, height, &bits);
    ReleaseDC(nullptr, screen);
    if (!memory || !canvas) {
        if (canvas) DeleteObject(canvas);
        if (memory) DeleteDC(memory);
        return nullptr;
    }
    HGDIOBJ old = SelectObject(memory, canvas);
    HDC windowDc = GetWindowDC(hwnd);
    BitBlt(memory, 0, 0, width, height, windowDc, 0, 0, SRCCOPY);
    ReleaseDC(hwnd, windowDc);
    GdiFlush();
    SelectObject(memory, old);
    DeleteDC(memory);
    return canvas;
}

void PumpUntilIdle(DWORD quietMs, DWORD limitMs) {
    DWORD start = GetTickCount(), lastMessage = start;
    for (;;) {
        MSG msg;
        bool any = false;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            any = true;
            if (skin::SkinnedPage::PreTranslatePageMessage(&msg)) continue;
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        DWORD now = GetTickCount();
        if (any) lastMessage = now;
        if (now - lastMessage >= quietMs || now - start >= limitMs) return;
        Sleep(10);
    }
}
