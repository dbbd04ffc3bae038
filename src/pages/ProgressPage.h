// The progress page as the installation's user interface: status lines
// "IDC_INFO" and "IDC_INSTALLINFO", the bar "IDC_PROGRESS1", the download bar
// "IDC_DOWNLOADPROGRESS" with its estimate in "IDC_INFO", and the questions
// and errors of the run, shown over the page by the user-interface thread
// while the worker waits for the answer.
#pragma once

#include <windows.h>

#include "install/ProgressSink.h"
#include "util/ProgressThrottle.h"
#include "skin/SkinnedPage.h"

namespace pages {

class ProgressPageSink : public install::ProgressSink {
public:
    // Remembers the page's controls; create and destroy on the user-interface thread.
    explicit ProgressPageSink(skin::SkinnedPage* page);
    ~ProgressPageSink() override;
    ProgressPageSink(const ProgressPageSink&) = delete;
    ProgressPageSink& operator=(const ProgressPageSink&) = delete;

    void SetStatus(const std::string& text, int line) override;
    void SetProgressRange(int count) override;
    void SetProgressPosition(int position) override;
    install::ErrorChoice Ask(const install::Question& question) override;
    void ShowError(const std::string& text) override;
    // download::ProgressDisplay; a page without the download bar shows only the line.
    void ShowDownloadProgress() override;
    void UpdateDownloadProgress(const download::ProgressReport& report) override;
    void HideDownloadProgress() override;

private:
    static LRESULT CALLBACK AnswerProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    // The window that owns the dialogs: the page while it is visible.
    HWND DialogOwner() const;

    HWND page_ = nullptr;
    HWND info_ = nullptr;
    HWND installInfo_ = nullptr;
    HWND bar_ = nullptr;
    HWND downloadBar_ = nullptr;
    std::string status_;  // the last main status line, shown again after a download
    HWND answerWindow_ = nullptr;  // message-only window of the user-interface thread
    util::ProgressThrottle throttle_;
};

}  // namespace pages
