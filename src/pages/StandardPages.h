// What the standard pages do, chosen by their layout file name: their set-up
// after loading, the buttons they answer themselves, what the customer page
// stores when left, and the feature tree of the custom setup page.
#pragma once

#include <windows.h>

#include <string>

#include "pages/WizardOwner.h"

class SkinnedPage;

class StandardPages {
public:
    explicit StandardPages(WizardOwner& owner) : owner_(owner) {}

    void SetUp(SkinnedPage& page);
    // True when the button acts within the page (it never moves the wizard).
    bool HandleWithinPage(SkinnedPage& page, const std::string& control);
    // Before a move: the customer page stores its inputs.
    void Leave(SkinnedPage& page);
    LRESULT Notify(SkinnedPage& page, const NMHDR& header);

private:
    void SetUpLicense(SkinnedPage& page);
    void SetUpCustomer(SkinnedPage& page);
    void SetUpDestination(SkinnedPage& page);
    void SetUpSetupType(SkinnedPage& page);
    void SetUpCustomSetup(SkinnedPage& page);
    void SetUpProgress(SkinnedPage& page);
    void SetUpComplete(SkinnedPage& page);
    void SetUpLanguagePage(SkinnedPage& page);
    void LoadRichText(SkinnedPage& page, const char* fileKey, const char* controlKey);
    void SelectSetupType(SkinnedPage& page, int type);
    void StoreCustomerData(SkinnedPage& page);
    void BrowseForFolder(SkinnedPage& page);

    WizardOwner& owner_;
};
