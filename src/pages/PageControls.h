// Small helpers the page behaviours use on a page's named controls. A name
// the page does not have makes each of them do nothing.
#pragma once

#include <windows.h>

#include <string>
#include "skin/SkinnedPage.h"


namespace pages::pagectl {

void SetText(skin::SkinnedPage& page, const char* name, const std::string& text);
// Sets a control's text and repaints the page behind it: painted texts may be
// transparent over the page's picture. Works from any thread.
void SetTextAndRepaint(HWND page, HWND control, const std::string& text);
std::string Text(skin::SkinnedPage& page, const char* name);
void SetChecked(skin::SkinnedPage& page, const char* name, bool checked);
bool IsChecked(skin::SkinnedPage& page, const char* name);
void Enable(skin::SkinnedPage& page, const char* name, bool enabled);
void Show(skin::SkinnedPage& page, const char* name, bool visible);
void Focus(skin::SkinnedPage& page, const char* name);
// The file name part of the page's layout path ("welcome.lcd").
std::string LayoutName(const skin::SkinnedPage& page);

}  // namespace pages::pagectl
