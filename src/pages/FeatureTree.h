// The custom setup page's feature tree: one item per feature, its
// description when selected and a pop-up menu to include or exclude it.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <string>
#include "skin/SkinnedPage.h"
#include "core/SetupState.h"


namespace pages::featuretree {

// Fills the page's tree view with the SETUPFEATURES display names, each
// shown installed or excluded as the feature table holds it now.
void Fill(skin::SkinnedPage& page, const core::SetupState& state);
// Answers the tree's selection change: description and the pop-up menu.
void OnSelectionChanged(skin::SkinnedPage& page, core::SetupState& state, HWND tree, HTREEITEM item);

}  // namespace pages::featuretree
