// What the standard pages do, chosen by their layout file name: their set-up
// after loading, the buttons they answer themselves, what the customer page
// stores when left, and the feature tree of the custom setup page.
#pragma once

#include <windows.h>

#include <string>

#include "pages/WizardOwner.h"
#include "skin/SkinnedPage.h"

namespace pages {

class StandardPages {
public:
    explicit StandardPages(WizardOwner& owner) : owner_(owner) {}

    void SetUp(skin::SkinnedPage& page);
    // True when the button acts within the page (it never moves the wizard).
    bool HandleWithinPage(skin::SkinnedPage& page, const std::string& control);
    // Before a move: the customer page stores its inputs.
    void Leave(skin::SkinnedPage& page);
    LRESULT Notify(skin::SkinnedPage& page, const NMHDR& header);
    // The language the language page's list shows, as it is applied (see
    // LanguageNameToApply); "" when none.
    std::string ChosenLanguage(skin::SkinnedPage& page) const;

private:
    void SetUpLicense(skin::SkinnedPage& page);
    void SetUpCustomer(skin::SkinnedPage& page);
    void SetUpDestination(skin::SkinnedPage& page);
    void SetUpSetupType(skin::SkinnedPage& page);
    void SetUpCustomSetup(skin::SkinnedPage& page);
    void SetUpProgress(skin::SkinnedPage& page);
    void SetUpComplete(skin::SkinnedPage& page);
    void SetUpLanguagePage(skin::SkinnedPage& page);
    void LoadRichText(skin::SkinnedPage& page, const char* fileKey, const char* controlKey);
    void SelectSetupType(skin::SkinnedPage& page, int type);
    void ChooseScope(skin::SkinnedPage& page, bool anyone);
    void StoreCustomerData(skin::SkinnedPage& page);
    void BrowseForFolder(skin::SkinnedPage& page);

    WizardOwner& owner_;
};

}  // namespace pages
