#include "skin/PageName.h"

namespace skin {

void NamePageWindow(HWND window, const std::string& layoutName) {
    if (!window) return;
    const ATOM atom = GlobalAddAtomA(layoutName.c_str());
    SetPropA(window, kLayoutProperty, reinterpret_cast<HANDLE>(static_cast<UINT_PTR>(atom)));
}

void UnnamePageWindow(HWND window) {
    if (!window) return;
    // Hidden first: a page on screen always carries its name, so a driver
    // looking for dialog boxes never takes a page on its way out for one.
    ShowWindow(window, SW_HIDE);
    const auto atom = static_cast<ATOM>(reinterpret_cast<UINT_PTR>(RemovePropA(window, kLayoutProperty)));
    if (atom) GlobalDeleteAtom(atom);
}

}  // namespace skin
