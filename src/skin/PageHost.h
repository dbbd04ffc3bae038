// What a page window needs from the program that shows it: the setup
// expansion of its texts and somewhere to report its commands. setup.exe's
// wizard implements it; the preview tool implements it with an empty setup.
#pragma once

#include <windows.h>

#include <string>

namespace skin {

class SkinnedPage;

// The page timers the host answers.
constexpr UINT_PTR kPageTimerStartInstallation = 1;  // the progress page starts the installation
constexpr UINT_PTR kPageTimerAutomaticMove = 2;      // a page moves on by itself

class PageHost {
public:
    virtual ~PageHost() = default;

    // The setup expansion of a text the page shows (caption, button and text captions).
    virtual std::string ExpandPageText(const std::string& text) = 0;
    // The same for a UTF-8 text (from a Unicode language file), expanded
    // into UTF-8. A host without placeholders of its own leaves it as it is.
    virtual std::string ExpandUnicodePageText(const std::string& utf8) { return utf8; }

    // A click from a control with identifier 3000..3030: its record index, the
    // click code of its "On Click"/"Mouse Click" entry and its name.
    virtual void OnPageCommand(SkinnedPage& page, int controlId, int recordIndex, int clickCode,
                               const std::string& controlName) = 0;

    // Escape pressed or the page's close box used: the cancel confirmation.
    virtual void OnCancelRequest(SkinnedPage& page) = 0;

    // Page timers (1: the progress page starts the installation; 2: automatic move).
    virtual void OnPageTimer(SkinnedPage& page, UINT_PTR timerId) = 0;

    // A notification (WM_NOTIFY) from one of the page's controls, such as the
    // tree view's selection change; the answer becomes the message's result.
    virtual LRESULT OnPageNotify(SkinnedPage& page, const NMHDR& header) {
        (void)page;
        (void)header;
        return 0;
    }
};

}  // namespace skin
