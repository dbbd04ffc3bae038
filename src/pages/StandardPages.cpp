#include "pages/StandardPages.h"

#include <commctrl.h>

#include "core/Registry.h"
#include "core/WorkingFolder.h"
#include "core/Settings.h"
#include "core/SettingsKeys.h"
#include "pages/FeatureTree.h"
#include "pages/FolderBrowser.h"
#include "pages/LanguageFiles.h"
#include "pages/LanguageTexts.h"
#include "pages/PageControls.h"
#include "pages/PageRules.h"
#include "pages/PageSequence.h"
#include "pages/RichTextFile.h"
#include "skin/SkinnedPage.h"
#include "util/Text.h"
#include "core/MessageDialog.h"
#include "core/Messages.h"
#include "core/Trace.h"

namespace pages {

using pages::pagectl::Enable;
using pages::pagectl::SetChecked;
using pages::pagectl::SetText;

namespace {
namespace appinfo = core::keys::appinfo;
namespace dialoglist = core::keys::dialoglist;

// The delay lets a shown progress page paint before the copying starts.
constexpr UINT kStartInstallationDelayMs = 300;
}  // namespace

void StandardPages::SetUp(skin::SkinnedPage& page) {
    const std::string layout = pages::pagectl::LayoutName(page);
    core::SetupState& s = owner_.State();
    if (layout == "license.lcd") SetUpLicense(page);
    else if (layout == "readme.lcd")
        LoadRichText(page, dialoglist::kReadmeFile, dialoglist::kReadmeControl);
    else if (layout == "customer.lcd") SetUpCustomer(page);
    else if (layout == "destination.lcd") SetUpDestination(page);
    else if (layout == "setuptype.lcd") SetUpSetupType(page);
    else if (layout == "customsetup.lcd") SetUpCustomSetup(page);
    else if (layout == "ready.lcd")
        SetText(page, "IDC_SETTINGS",
                pages::ReadySummary(pages::SetupTypeName(s.appliedLanguageFile, s.setupType),
                                    s.currentInstallFolder, s.customerName, s.companyName));
    else if (layout == pages::wizard::kProgressPage) SetUpProgress(page);
    else if (layout == "complete.lcd") SetUpComplete(page);
    else if (layout == pages::wizard::kLanguagePage) SetUpLanguagePage(page);
}

void StandardPages::SetUpLicense(skin::SkinnedPage& page) {
    LoadRichText(page, dialoglist::kLicenseFile, dialoglist::kLicenseControl);
    SetChecked(page, "IDC_NOTACCEPTLICENSE", true);
    SetChecked(page, "IDC_ACCEPTLICENSE", false);
    Enable(page, "IDC_NEXT", false);
}

// License and readme texts lie in the working folder, or in DiskImage1.
void StandardPages::LoadRichText(skin::SkinnedPage& page, const char* fileKey, const char* controlKey) {
    const core::SetupState& s = owner_.State();
    const std::string file = core::settings::Read(s.settingsPath, dialoglist::kSection, fileKey);
    const std::string path = core::ProjectFilePath(
        s.diskImage, core::PayloadFolder(s.diskImage, s.sourceFolder, s.workingFolder), file);
    HWND control =
        page.ControlWindow(core::settings::Read(s.settingsPath, dialoglist::kSection, controlKey));
    if (control && !file.empty()) StreamRichTextFile(control, path);
}

void StandardPages::SetUpCustomer(skin::SkinnedPage& page) {
    const core::SetupState& s = owner_.State();
    SetChecked(page, "IDC_ANYONE", s.installForAnyone != 0);
    SetChecked(page, "IDC_ONLYFORME", s.installForAnyone == 0);
    pages::pagectl::Focus(page, "IDC_USERNAME");
    SetText(page, "IDC_USERNAME", s.customerName);
    SetText(page, "IDC_ORGANIZATION", s.companyName);
}

void StandardPages::SetUpDestination(skin::SkinnedPage& page) {
    const core::SetupState& s = owner_.State();
    if (page.FindControl("IDC_ANYONE") >= 0) {
        SetChecked(page, "IDC_ANYONE", s.installForAnyone != 0);
        SetChecked(page, "IDC_ONLYFORME", s.installForAnyone == 0);
    }
    SetText(page, "IDC_INSTALLDIR", s.currentInstallFolder);
}

void StandardPages::SetUpSetupType(skin::SkinnedPage& page) {
    const int type = owner_.State().setupType;
    SelectSetupType(page, type >= 0 && type <= 2 ? type : pages::wizard::kSetupTypeTypical);
}

void StandardPages::SelectSetupType(skin::SkinnedPage& page, int type) {
    owner_.State().setupType = type;
    pages::ApplySetupType(type, owner_.State().features);
    SetChecked(page, "IDC_TYPICAL", type == pages::wizard::kSetupTypeTypical);
    SetChecked(page, "IDC_MINIMAL", type == pages::wizard::kSetupTypeMinimal);
    SetChecked(page, "IDC_CUSTOM", type == pages::wizard::kSetupTypeCustom);
}

void StandardPages::SetUpCustomSetup(skin::SkinnedPage& page) {
    SetText(page, "IDC_INSTALLDIR", owner_.State().currentInstallFolder);
    SetText(page, "IDC_FEATUREINFO", "");
    pages::featuretree::Fill(page, owner_.State());
}

void StandardPages::SetUpProgress(skin::SkinnedPage& page) {
    Enable(page, "IDC_NEXT", false);
    Enable(page, "IDC_BACK", false);
    SetText(page, "IDC_INFO", core::EnglishText(core::MessageId::ProgressStarting));
    SetText(page, "IDC_INSTALLINFO", "");
    // A hidden page (unattended run) has nothing to paint, and the run must
    // not depend on its window: the owner starts the installation at once.
    if (owner_.State().unattended) return owner_.StartInstallationLater();
    SetTimer(page.Window(), skin::kPageTimerStartInstallation, kStartInstallationDelayMs, nullptr);
}

void StandardPages::SetUpComplete(skin::SkinnedPage& page) {
    core::SetupState& s = owner_.State();
    // A box for a launch the project does not offer would do nothing, and
    // after a cancel there is nothing to launch: hidden then.
    const bool cancelled = core::CurrentRun().Stopped();
    const bool offersFile =
        !cancelled && s.showLaunchFile && !core::ExpandSetupText(s, s.launchFile).empty();
    const bool offersReadme =
        !cancelled && s.showLaunchReadme && !core::ExpandSetupText(s, s.readmeFile).empty();
    pages::pagectl::Show(page, "IDC_LAUNCHFILE", offersFile);
    pages::pagectl::Show(page, "IDC_LAUNCHREADME", offersReadme);
    if (cancelled) {
        // Without a language text the page still says the setup did not finish.
        SetText(page, "IDC_INSTALLSTATUS",
                core::ExpandSetupText(owner_.State(),
                                pages::LanguageText(s.appliedLanguageFile,
                                                    core::MessageId::CompleteInterrupted)));
        return;
    }
    if (!s.addOnFailures.empty()) {
        std::string failures;
        for (const std::string& failure : s.addOnFailures) failures += "\r\n" + failure;
        SetText(page, "IDC_INSTALLSTATUS",
                // Paths hold no "<" or ">": expanding after the list is filled in is safe,
                // and a product name never takes the list's place.
                core::ExpandSetupText(
                    s, core::FormatText(core::EnglishText(core::MessageId::CompleteAddOnFailed), {failures})));
    } else if (s.restartRequired) {
        SetText(page, "IDC_INSTALLSTATUS",
                core::ExpandSetupText(s, core::EnglishText(core::MessageId::CompleteRestart)));
    }
    if (offersFile) {
        SetChecked(page, "IDC_LAUNCHFILE", true);
        s.launchFileChosen = true;
    }
    if (offersReadme) {
        SetChecked(page, "IDC_LAUNCHREADME", true);
        s.launchReadmeChosen = true;
    }
}

// The language page lists languages\*.lan in the order the folder gives them
// and selects the entry equal to APPINFO Language, whatever its case (not
// the first that begins with it: "English" must not pick "English (US)").
void StandardPages::SetUpLanguagePage(skin::SkinnedPage& page) {
    HWND combo = page.ControlWindow("IDC_LANGUAGE");
    if (!combo) return;
    const core::SetupState& s = owner_.State();
    for (const std::wstring& name : pages::ListLanguageNames(s.sourceFolder))
        SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.c_str()));
    const LRESULT preselected = SendMessageA(combo, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                             reinterpret_cast<LPARAM>(s.languageName.c_str()));
    if (preselected != CB_ERR) SendMessageA(combo, CB_SETCURSEL, static_cast<WPARAM>(preselected), 0);
}

std::string StandardPages::ChosenLanguage(skin::SkinnedPage& page) const {
    HWND combo = page.ControlWindow("IDC_LANGUAGE");
    if (!combo) return "";
    wchar_t text[MAX_PATH] = L"";
    GetWindowTextW(combo, text, MAX_PATH);
    return pages::LanguageNameToApply(owner_.State().sourceFolder, text);
}

namespace {

// The project's folder may name a folder of the scope's column
// (<AppDataFolder>\Notes): while neither the user, the command line nor an
// earlier installation chose another, the folder follows the scope.
void FollowProjectFolder(core::SetupState& s) {
    if (s.currentInstallFolder != s.defaultInstallFolder || s.installFolder != s.defaultInstallFolder) return;
    const std::string folder = util::text::WithTrailingBackslash(core::ExpandSetupText(
        s, core::settings::Read(s.settingsPath, core::keys::appinfo::kSection, core::keys::appinfo::kInstallFolder)));
    s.installFolder = folder;
    s.defaultInstallFolder = folder;
    s.currentInstallFolder = folder;
}

}  // namespace

// The anyone / only-for-me choice sets the run's scope (its shell folders,
// its registration); a choice the run cannot keep is refused with a message
// and the buttons show the scope that stays.
void StandardPages::ChooseScope(skin::SkinnedPage& page, bool anyone) {
    core::SetupState& s = owner_.State();
    const core::scope::ScopeChoice choice =
        core::scope::ScopeOfChoice(s.scope, s.scopeSetting, anyone, !s.noAdministrator);
    if (choice.refusal == core::scope::ChoiceRefusal::None) {
        core::ApplyScope(s, choice.scope);
        FollowProjectFolder(s);
    } else {
        const core::MessageId text = choice.refusal == core::scope::ChoiceRefusal::NeedsAdministrator
                                         ? core::MessageId::ScopeNeedsAdministrator
                                         : core::MessageId::ScopeOnlyForMe;
        const std::string message = core::ExpandSetupText(s, core::EnglishText(text));
        core::trace::Value("installation scope refused", message);
        if (!s.unattended) core::ShowMessageDialog(page.Window(), message);
    }
    SetChecked(page, "IDC_ANYONE", s.installForAnyone);
    SetChecked(page, "IDC_ONLYFORME", !s.installForAnyone);
}

bool StandardPages::HandleWithinPage(skin::SkinnedPage& page, const std::string& c) {
    core::SetupState& s = owner_.State();
    if (c == "IDC_ACCEPTLICENSE" || c == "IDC_NOTACCEPTLICENSE") {
        const bool accepted = c == "IDC_ACCEPTLICENSE";
        SetChecked(page, "IDC_ACCEPTLICENSE", accepted);
        SetChecked(page, "IDC_NOTACCEPTLICENSE", !accepted);
        Enable(page, "IDC_NEXT", accepted);
    } else if (c == "IDC_ANYONE" || c == "IDC_ONLYFORME") {
        ChooseScope(page, c == "IDC_ANYONE");
    } else if (c == "IDC_TYPICAL") {
        SelectSetupType(page, pages::wizard::kSetupTypeTypical);
    } else if (c == "IDC_MINIMAL") {
        SelectSetupType(page, pages::wizard::kSetupTypeMinimal);
    } else if (c == "IDC_CUSTOM") {
        SelectSetupType(page, pages::wizard::kSetupTypeCustom);
    } else if (c == "IDC_LAUNCHFILE") {
        s.launchFileChosen = !s.launchFileChosen;
        SetChecked(page, "IDC_LAUNCHFILE", s.launchFileChosen);
    } else if (c == "IDC_LAUNCHREADME") {
        s.launchReadmeChosen = !s.launchReadmeChosen;
        SetChecked(page, "IDC_LAUNCHREADME", s.launchReadmeChosen);
    } else if (c == "IDC_BROWSE") {
        BrowseForFolder(page);
    } else {
        return false;
    }
    return true;
}

void StandardPages::BrowseForFolder(skin::SkinnedPage& page) {
    core::SetupState& s = owner_.State();
    const std::string chosen = BrowseForDestination(page.Window(), s.currentInstallFolder);
    if (chosen.empty()) return;
    s.currentInstallFolder = util::text::WithTrailingBackslash(chosen);
    SetText(page, "IDC_INSTALLDIR", s.currentInstallFolder);
    InvalidateRect(page.Window(), nullptr, TRUE);
}

void StandardPages::Leave(skin::SkinnedPage& page) {
    if (pages::pagectl::LayoutName(page) == "customer.lcd") StoreCustomerData(page);
}

void StandardPages::StoreCustomerData(skin::SkinnedPage& page) {
    core::SetupState& s = owner_.State();
    s.customerName = pages::pagectl::Text(page, "IDC_USERNAME");
    s.companyName = pages::pagectl::Text(page, "IDC_ORGANIZATION");
    const std::string key = core::ExpandSetupText(owner_.State(), s.customerRegistryKey);
    HKEY root = core::registry::RootFromName(s.customerRegistryRoot);
    if (!root || key.empty()) return;
    core::registry::WriteText(root, key, "<UserName>", s.customerName);
    core::registry::WriteText(root, key, "<CompanyName>", s.companyName);
}

LRESULT StandardPages::Notify(skin::SkinnedPage& page, const NMHDR& header) {
    if (header.code != TVN_SELCHANGEDA && header.code != TVN_SELCHANGEDW) return 0;
    const auto& change = reinterpret_cast<const NMTREEVIEWA&>(header);
    pages::featuretree::OnSelectionChanged(page, owner_.State(), header.hwndFrom, change.itemNew.hItem);
    return 0;
}

}  // namespace pages
