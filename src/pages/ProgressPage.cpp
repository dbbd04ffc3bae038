#include "pages/ProgressPage.h"

#include <commctrl.h>

#include "skin/SkinnedPage.h"

ProgressPageSink::ProgressPageSink(SkinnedPage* page) {
    if (!page) return;
    page_ = page->Window();
    info_ = page->ControlWindow("IDC_INFO");
    installInfo_ = page->ControlWindow("IDC_INSTALLINFO");
    bar_ = page->ControlWindow("IDC_PROGRESS1");
}

void ProgressPageSink::SetStatus(const std::string& text, int line) {
    HWND control = line == 0 ? info_ : installInfo_;
    if (!control) return;
    SendMessageA(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
    // The text may be painted over the page's picture: repaint what lies behind it.
    RECT r;
    GetWindowRect(control, &r);
    MapWindowPoints(nullptr, page_, reinterpret_cast<POINT*>(&r), 2);
    RedrawWindow(page_, &r, nullptr, RDW_ERASE | RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

// The 32-bit range message: a project may have more than 65 535 files.
void ProgressPageSink::SetProgressRange(int count) {
    throttle_.SetRange(count);
    if (bar_) SendMessageA(bar_, PBM_SETRANGE32, 0, count);
}

void ProgressPageSink::SetProgressPosition(int position) {
    if (bar_ && throttle_.Due(position, GetTickCount()))
        SendMessageA(bar_, PBM_SETPOS, static_cast<WPARAM>(position), 0);
}

HWND ProgressPageSink::DialogOwner() { return page_ && IsWindowVisible(page_) ? page_ : nullptr; }
