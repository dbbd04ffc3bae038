// Small GDI helpers of the skinned pages: colours from layout text, the
// system's button-face colour, and window style changes.
#pragma once

#include <windows.h>

#include <string>

#include "skin/ColorText.h"

namespace skin {

COLORREF ToColorref(const skin::layout::Rgb& c);
// The colour of a layout colour text (button-face names not resolved here).
COLORREF ParseColorref(const std::string& text);
// The current system button-face colour.
skin::layout::Rgb ButtonFace();
// The button-face colour written as "%u,%u,%u".
std::string ButtonFaceText();

// Adds and removes window style bits and lets the frame follow.
void ChangeStyle(HWND hwnd, LONG_PTR add, LONG_PTR remove);
void ChangeExStyle(HWND hwnd, LONG_PTR add, LONG_PTR remove);

// Repaints the part of the parent under `child` and the child itself, so a
// control that does not fill its background shows the parent through it.
void RepaintThroughParent(HWND child);

}  // namespace skin
