// The preview's stand-in for the setup: an empty setup state whose text
// expansion fills the usual placeholders with sample values, and which only
// reports the page's commands.
#pragma once

#include "skin/PageHost.h"

class PreviewHost : public skin::PageHost {
public:
    // `interactive`: Escape and the close box end the preview.
    explicit PreviewHost(bool interactive) : interactive_(interactive) {}

    std::string ExpandPageText(const std::string& text) override;
    std::string ExpandUnicodePageText(const std::string& utf8) override;
    void OnPageCommand(skin::SkinnedPage& page, int controlId, int recordIndex, int clickCode,
                       const std::string& controlName) override;
    void OnCancelRequest(skin::SkinnedPage& page) override;
    void OnPageTimer(skin::SkinnedPage& page, UINT_PTR timerId) override;

private:
    bool interactive_;
};
