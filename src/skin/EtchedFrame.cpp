#include "skin/EtchedFrame.h"

namespace skin {

EtchedFrame::EtchedFrame(HWND hwnd) : SkinControl(hwnd) { Subclass(); }

void EtchedFrame::Paint(HDC dc) {
    RECT rc;
    GetClientRect(Window(), &rc);
    DrawEdge(dc, &rc, EDGE_ETCHED, BF_RECT);
}

bool EtchedFrame::HandleMessage(UINT msg, WPARAM wParam, LPARAM, LRESULT* result) {
    switch (msg) {
    case WM_ERASEBKGND:
        *result = 1;
        return true;
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(Window(), &ps);
        Paint(dc);
        EndPaint(Window(), &ps);
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
