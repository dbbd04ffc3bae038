// The progress page as the installation's progress display: status lines
// "IDC_INFO" and "IDC_INSTALLINFO" and the bar "IDC_PROGRESS1".
#pragma once

#include "install/ProgressSink.h"
#include "util/ProgressThrottle.h"

class SkinnedPage;

class ProgressPageSink : public ProgressSink {
public:
    // Remembers the page's controls; call on the user-interface thread.
    explicit ProgressPageSink(SkinnedPage* page);

    void SetStatus(const std::string& text, int line) override;
    void SetProgressRange(int count) override;
    void SetProgressPosition(int position) override;
    HWND DialogOwner() override;

private:
    HWND page_ = nullptr;
    HWND info_ = nullptr;
    HWND installInfo_ = nullptr;
    HWND bar_ = nullptr;
    ProgressThrottle throttle_;
};
