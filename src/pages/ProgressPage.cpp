#include "pages/ProgressPage.h"

#include <commctrl.h>

#include "core/Messages.h"
#include "pages/ErrorChoiceDialog.h"
#include "pages/PageControls.h"
#include "skin/SkinnedPage.h"

namespace pages {

namespace {

const char kAnswerClass[] = "CorvaneInstallAnswers";
constexpr UINT kMessageAsk = WM_APP + 10;
constexpr UINT kMessageShowError = WM_APP + 11;

}  // namespace

ProgressPageSink::ProgressPageSink(skin::SkinnedPage* page) {
    if (page) {
        page_ = page->Window();
        info_ = page->ControlWindow("IDC_INFO");
        installInfo_ = page->ControlWindow("IDC_INSTALLINFO");
        bar_ = page->ControlWindow("IDC_PROGRESS1");
        downloadBar_ = page->ControlWindow("IDC_DOWNLOADPROGRESS");
    }
    // The worker sends its questions here, so the dialogs belong to the
    // user-interface thread like every other window of the setup.
    WNDCLASSA wc = {};
    wc.lpfnWndProc = &ProgressPageSink::AnswerProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = kAnswerClass;
    RegisterClassA(&wc);
    answerWindow_ = CreateWindowExA(0, kAnswerClass, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                    wc.hInstance, nullptr);
    if (answerWindow_) SetWindowLongPtrA(answerWindow_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

ProgressPageSink::~ProgressPageSink() {
    if (answerWindow_) DestroyWindow(answerWindow_);
}

void ProgressPageSink::SetStatus(const std::string& text, int line) {
    if (line == 0) status_ = text;
    if (HWND control = line == 0 ? info_ : installInfo_) pages::pagectl::SetTextAndRepaint(page_, control, text);
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

void ProgressPageSink::ShowDownloadProgress() {
    if (!downloadBar_) return;
    SendMessageA(downloadBar_, PBM_SETRANGE, 0, MAKELPARAM(0, 100));
    SendMessageA(downloadBar_, PBM_SETPOS, 0, 0);
    ShowWindow(downloadBar_, SW_SHOW);
}

void ProgressPageSink::UpdateDownloadProgress(const download::ProgressReport& report) {
    if (downloadBar_ && report.percent >= 0)
        SendMessageA(downloadBar_, PBM_SETPOS, static_cast<WPARAM>(report.percent), 0);
    if (info_) pages::pagectl::SetTextAndRepaint(page_, info_, report.info);
}

// The estimate gives way to the status line it covered.
void ProgressPageSink::HideDownloadProgress() {
    if (downloadBar_) {
        ShowWindow(downloadBar_, SW_HIDE);
        SendMessageA(downloadBar_, PBM_SETRANGE, 0, MAKELPARAM(0, 100));
        SendMessageA(downloadBar_, PBM_SETPOS, 0, 0);
    }
    if (info_) pages::pagectl::SetTextAndRepaint(page_, info_, status_);
}

// Without its window the question is answered Cancel: nobody could see it.
install::ErrorChoice ProgressPageSink::Ask(const install::Question& question) {
    if (!answerWindow_) return install::ErrorChoice::Cancel;
    return static_cast<install::ErrorChoice>(
        SendMessageA(answerWindow_, kMessageAsk, 0, reinterpret_cast<LPARAM>(&question)));
}

void ProgressPageSink::ShowError(const std::string& text) {
    if (answerWindow_) SendMessageA(answerWindow_, kMessageShowError, 0, reinterpret_cast<LPARAM>(&text));
}

HWND ProgressPageSink::DialogOwner() const { return page_ && IsWindowVisible(page_) ? page_ : nullptr; }

LRESULT CALLBACK ProgressPageSink::AnswerProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<ProgressPageSink*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    if (self && msg == kMessageAsk) {
        const auto& q = *reinterpret_cast<const install::Question*>(lParam);
        return static_cast<LRESULT>(AskErrorChoice(self->DialogOwner(), q.text, q.cancelOnly));
    }
    if (self && msg == kMessageShowError) {
        MessageBoxA(self->DialogOwner(), reinterpret_cast<const std::string*>(lParam)->c_str(),
                    core::kMessageCaption, MB_OK);
        return 0;
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

}  // namespace pages
