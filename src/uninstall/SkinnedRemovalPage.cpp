#include "uninstall/SkinnedRemovalPage.h"

#include <commctrl.h>

#include "core/Trace.h"
#include "skin/LocalisedLayout.h"
#include "skin/PageName.h"

namespace uninstall {

namespace {

using core::MessageId;

std::string FileNameOf(const std::string& path) {
    const size_t slash = path.find_last_of("\\/");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string TextOf(HWND control) {
    char text[1024] = "";
    if (control) GetWindowTextA(control, text, sizeof text);
    return text;
}

}  // namespace

SkinnedRemovalPage::SkinnedRemovalPage(const UninstallTexts& texts) : texts_(texts) {}

SkinnedRemovalPage::~SkinnedRemovalPage() {
    if (!page_) return;
    skin::UnnamePageWindow(page_->Window());
    page_->Close();
}

// Index 0 of 2 pages: "IDC_BACK" goes off, a cancel button of the layout stays on.
bool SkinnedRemovalPage::Open(const std::string& layoutPath, const std::string& pageLanguageFile) {
    page_ = std::make_unique<skin::SkinnedPage>(static_cast<skin::PageHost*>(this));
    if (!page_->Create(nullptr)) {
        core::trace::Failure("CreateDialog (uninstall page)", GetLastError());
        page_.reset();
        return false;
    }
    page_->SetLocalisedEntries(skin::LocalisedLayoutEntries(layoutPath, pageLanguageFile));
    page_->LoadLayout(layoutPath, 0, 2);
    page_->PlaceWindow();
    skin::NamePageWindow(page_->Window(), FileNameOf(layoutPath));
    bar_ = Control("IDC_PROGRESS1");
    outcome_ = Control("IDC_INSTALLINFO");
    status_ = Control("IDC_INFO") ? Control("IDC_INFO") : outcome_;
    layoutQuestionText_ = TextOf(Control("IDC_STATIC1"));
    return true;
}

HWND SkinnedRemovalPage::Control(const char* name) const { return page_ ? page_->ControlWindow(name) : nullptr; }

// The layout's "IDYES" may carry any caption (the sample theme's says what
// it does during the removal); while the page asks, it reads as the answer.
bool SkinnedRemovalPage::AskToRemove() {
    SetTextAndRepaint(Window(), Control("IDC_STATIC1"), texts_.Of(MessageId::UninstallQuestion));
    SetTextAndRepaint(Window(), Control("IDYES"), texts_.Of(MessageId::UninstallYesButton));
    SetTextAndRepaint(Window(), Control("IDNO"), texts_.Of(MessageId::UninstallNoButton));
    asking_ = true;
    answered_ = false;
    page_->Show(SW_SHOWNORMAL);
    if (HWND yes = Control("IDYES")) SetFocus(yes);
    const bool gotAnswer = DispatchUntilAnswered(answered_, nullptr);
    asking_ = false;
    return gotAnswer && remove_;
}

void SkinnedRemovalPage::RemovalStarted(const std::string& status) {
    for (const char* name : {"IDYES", "IDNO", "IDCANCEL"})
        if (HWND button = Control(name)) EnableWindow(button, FALSE);
    SetTextAndRepaint(Window(), Control("IDC_STATIC1"), layoutQuestionText_);
    SetStatus(status);
}

void SkinnedRemovalPage::RemovalEnded(const std::string& outcome) {
    SetTextAndRepaint(Window(), outcome_, outcome);
}

void SkinnedRemovalPage::SetStatus(const std::string& text) { SetTextAndRepaint(Window(), status_, text); }

// The 32-bit range message: a log may have more than 65 535 records.
void SkinnedRemovalPage::SetProgressRange(int count) {
    throttle_.SetRange(count);
    if (bar_) SendMessageA(bar_, PBM_SETRANGE32, 0, count);
}

void SkinnedRemovalPage::SetProgressPosition(int position) {
    if (bar_ && throttle_.Due(position, GetTickCount()))
        SendMessageA(bar_, PBM_SETPOS, static_cast<WPARAM>(position), 0);
}

std::string SkinnedRemovalPage::ExpandPageText(const std::string& text) { return texts_.Expand(text); }
std::string SkinnedRemovalPage::ExpandUnicodePageText(const std::string& utf8) { return texts_.ExpandUtf8(utf8); }

void SkinnedRemovalPage::OnPageCommand(skin::SkinnedPage&, int, int, int, const std::string& controlName) {
    if (controlName == "IDYES") Answer(true);
    else if (controlName == "IDNO" || controlName == "IDCANCEL") Answer(false);
}

// A removal that has begun runs to its end: the close box does nothing then.
void SkinnedRemovalPage::OnCancelRequest(skin::SkinnedPage&) { Answer(false); }

void SkinnedRemovalPage::OnPageTimer(skin::SkinnedPage&, UINT_PTR) {}

void SkinnedRemovalPage::Answer(bool remove) {
    if (!asking_ || answered_) return;
    remove_ = remove;
    answered_ = true;
}

}  // namespace uninstall
