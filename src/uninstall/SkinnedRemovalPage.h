// The removal window drawn from the theme's "uninstall.lcd": a skinned page
// whose "IDYES" button starts the removal, "IDC_STATIC1" shows the question,
// "IDC_PROGRESS1" the bar, "IDC_INFO" the status (as on the progress page;
// without it "IDC_INSTALLINFO") and "IDC_INSTALLINFO" the outcome.
// "IDNO", "IDCANCEL", Escape and the close box leave without removing.
#pragma once

#include <memory>
#include <string>

#include "skin/PageHost.h"
#include "skin/SkinnedPage.h"
#include "uninstall/RemovalWindow.h"
#include "uninstall/UninstallTexts.h"
#include "util/ProgressThrottle.h"

namespace uninstall {

class SkinnedRemovalPage : public RemovalWindow, private skin::PageHost {
public:
    explicit SkinnedRemovalPage(const UninstallTexts& texts);
    ~SkinnedRemovalPage() override;

    // Makes the (hidden) page from the layout file; false when its window
    // cannot be made.
    bool Open(const std::string& layoutPath, const std::string& pageLanguageFile);

    // RemovalWindow
    bool AskToRemove() override;
    void RemovalStarted(const std::string& status) override;
    void RemovalEnded(const std::string& outcome) override;
    HWND Window() const override { return page_ ? page_->Window() : nullptr; }
    void SetStatus(const std::string& text) override;
    void SetProgressRange(int count) override;
    void SetProgressPosition(int position) override;

private:
    // PageHost
    std::string ExpandPageText(const std::string& text) override;
    std::string ExpandUnicodePageText(const std::string& utf8) override;
    void OnPageCommand(skin::SkinnedPage& page, int controlId, int recordIndex, int clickCode,
                       const std::string& controlName) override;
    void OnCancelRequest(skin::SkinnedPage& page) override;
    void OnPageTimer(skin::SkinnedPage& page, UINT_PTR timerId) override;

    void Answer(bool remove);
    HWND Control(const char* name) const;

    const UninstallTexts& texts_;
    std::unique_ptr<skin::SkinnedPage> page_;
    std::string layoutQuestionText_;  // "IDC_STATIC1" as the layout wrote it
    bool asking_ = false;
    bool answered_ = false;
    bool remove_ = false;
    HWND bar_ = nullptr;
    HWND status_ = nullptr;
    HWND outcome_ = nullptr;
    util::ProgressThrottle throttle_;
};

}  // namespace uninstall
