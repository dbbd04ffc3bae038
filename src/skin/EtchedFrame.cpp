#include "skin/EtchedFrame.h"

namespace skin {

EtchedFrame::EtchedFrame(HWND hwnd) : SkinControl(hwnd) { Subclass(); }

void EtchedFrame::Paint(HDC dc) {
    RECT rc;
    GetClientRect(Window(), &rc);
    DrawEdge(dc, &rc, EDGE_ETCHED, BF_RECT);
}

bool EtchedFrame::HandleMessage(UINT msg, WPARAM wParam, LPARAM, LRESULT* result) {
    return HandlePaintMessage(msg, wParam, result);
}

}  // namespace skin
