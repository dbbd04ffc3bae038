// Creating the window of one control of a page: the kind's window class and
// styles, the default text, the page font where the kind takes it, and the
// kind's own set-up (colours, tree images, pictures).
#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "skin/ControlTable.h"
#include "skin/SkinControl.h"

namespace skin {

// Makes the child window of `record` on `page` (control identifier
// record.id, rectangle record.rect) and returns the object that owns it, or
// nullptr when the window could not be created. For BITMAP and HOVER,
// `imageFile` is loaded when it exists and the record's rectangle becomes the
// picture's size.
std::unique_ptr<SkinControl> CreateControlWindow(HWND page, HFONT pageFont,
                                                 skin::layout::ControlRecord& record,
                                                 const std::string& imageFile);

// The tree view's image list: the program's two 32x16 tree pictures, 32-bit
// colour with a mask. The caller owns it.
HIMAGELIST CreateTreeImages();

}  // namespace skin
