#include "pages/ProgressPage.h"

#include <commctrl.h>

#include "pages/PageControls.h"
#include "skin/SkinnedPage.h"

ProgressPageSink::ProgressPageSink(SkinnedPage* page) {
    if (!page) return;
    page_ = page->Window();
    info_ = page->ControlWindow("IDC_INFO");
    installInfo_ = page->ControlWindow("IDC_INSTALLINFO");
    bar_ = page->ControlWindow("IDC_PROGRESS1");
}

void ProgressPageSink::SetStatus(const std::string& text, int line) {
    if (HWND control = line == 0 ? info_ : installInfo_) pagectl::SetTextAndRepaint(page_, control, text);
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
