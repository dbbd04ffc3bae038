#include "pages/FeatureTree.h"

#include <commctrl.h>

#include "core/SetupState.h"
#include "core/Settings.h"
#include "core/SettingsKeys.h"
#include "pages/PageControls.h"
#include "skin/SkinnedPage.h"
#include "core/Messages.h"

namespace pages::featuretree {
namespace {

constexpr int kImageInstalled = 0;
constexpr int kImageExcluded = 1;
constexpr UINT kCommandInstall = 1;
constexpr UINT kCommandExclude = 2;

HWND TreeOf(skin::SkinnedPage& page) {
    for (size_t i = 0; i < page.RecordCount(); ++i)
        if (page.Record(i).keyword == "TREEVIEW") return page.ControlWindow(page.Record(i).id);
    return nullptr;
}

std::string ItemText(HWND tree, HTREEITEM item) {
    char text[256] = "";
    TVITEMA tv = {};
    tv.mask = TVIF_TEXT;
    tv.hItem = item;
    tv.pszText = text;
    tv.cchTextMax = sizeof text;
    if (!TreeView_GetItem(tree, &tv)) return std::string();
    return text;
}

void SetItemImage(HWND tree, HTREEITEM item, int image) {
    TVITEMA tv = {};
    tv.mask = TVIF_IMAGE | TVIF_SELECTEDIMAGE;
    tv.hItem = item;
    tv.iImage = tv.iSelectedImage = image;
    TreeView_SetItem(tree, &tv);
}

// The image of a display name: excluded when the table holds a feature of
// that name with a non-zero state (the pop-up menu sets it by the same name).
int ImageOf(const core::FeatureTable& features, const std::string& name) {
    const int i = features.Find(name);
    return i >= 0 && features.State(static_cast<size_t>(i)) != core::kFeatureInstall
               ? kImageExcluded
               : kImageInstalled;
}

// Shows the description of every feature of that name (the last one stays).
void ShowDescription(skin::SkinnedPage& page, const std::string& ini, const std::string& name) {
    namespace k = core::keys::setuptype;
    const int total = core::settings::ReadListCount(ini, k::kSection);
    for (int i = 0; i < total; ++i)
        if (core::settings::ReadListField(ini, k::kSection, k::kFeatureName, i) == name)
            pages::pagectl::SetText(page, "IDC_FEATUREINFO",
                             core::settings::ReadListField(ini, k::kSection, k::kDescription, i));
}

}  // namespace

void Fill(skin::SkinnedPage& page, const core::SetupState& state) {
    HWND tree = TreeOf(page);
    if (!tree) return;
    namespace k = core::keys::setupfeatures;
    const int total = core::settings::ReadListCount(state.settingsPath, k::kSection);
    for (int i = 0; i < total; ++i) {
        std::string name =
            core::settings::ReadListField(state.settingsPath, k::kSection, k::kDisplayName, i);
        TVINSERTSTRUCTA insert = {};
        insert.hParent = TVI_ROOT;
        insert.hInsertAfter = TVI_LAST;
        insert.item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE;
        insert.item.pszText = &name[0];
        insert.item.iImage = insert.item.iSelectedImage = ImageOf(state.features, name);
        SendMessageA(tree, TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&insert));
    }
}

void OnSelectionChanged(skin::SkinnedPage& page, core::SetupState& state, HWND tree, HTREEITEM item) {
    const std::string name = ItemText(tree, item);
    if (name.empty()) return;
    ShowDescription(page, state.settingsPath, name);

    HMENU menu = CreatePopupMenu();
    AppendMenuA(menu, MF_STRING, kCommandInstall, core::EnglishText(core::MessageId::FeatureInstall));
    AppendMenuA(menu, MF_STRING, kCommandExclude, core::EnglishText(core::MessageId::FeatureExclude));
    POINT at;
    GetCursorPos(&at);
    const UINT chosen = TrackPopupMenu(menu, TPM_RETURNCMD | TPM_RIGHTBUTTON, at.x, at.y, 0,
                                       page.Window(), nullptr);
    DestroyMenu(menu);
    if (chosen != kCommandInstall && chosen != kCommandExclude) return;
    const int index = state.features.Find(name);
    const bool install = chosen == kCommandInstall;
    if (index >= 0)
        state.features.SetState(static_cast<size_t>(index),
                                install ? core::kFeatureInstall : core::kFeatureExcluded);
    SetItemImage(tree, item, install ? kImageInstalled : kImageExcluded);
}

}  // namespace pages::featuretree
