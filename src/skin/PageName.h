// The name a page window carries: its layout file's name, as the window
// property "CorvaneLayout" holding a global atom. Test drivers and
// accessibility tools tell pages apart by it, in every program that shows
// skinned pages.
#pragma once

#include <windows.h>

#include <string>

namespace skin {

constexpr char kLayoutProperty[] = "CorvaneLayout";

// Gives the window the layout name ("welcome.lcd").
void NamePageWindow(HWND window, const std::string& layoutName);
// Hides the window, then takes the name off again and frees its atom; call
// before the window goes.
void UnnamePageWindow(HWND window);

}  // namespace skin
