// Applying the position-addressed property entries of every control of a
// page, once all controls exist: names from entry 0, captions, fonts,
// colours, link, icons, and the page-list rules of the navigation buttons.
#pragma once

#include <windows.h>

#include <functional>

#include "skin/ControlTable.h"
#include "skin/PageHost.h"
#include "skin/SkinControl.h"

namespace skin {

// What the properties are applied to: the page's window, its control table
// (names and resolved colours are written back into it), the control object
// of each identifier and the page's place in the page list.
struct PropertyTarget {
    HWND window = nullptr;
    skin::layout::ControlTable* table = nullptr;
    PageHost* host = nullptr;  // expands captions; none leaves them as written
    std::function<skin::SkinControl*(int id)> control;  // nullptr for a control without a window
    // Whether a record's caption (entry 1) is UTF-8, from a Unicode language
    // file; none: every caption is ANSI.
    std::function<bool(const skin::layout::ControlRecord&)> unicodeCaption;
    int pageIndex = 0;
    int pageCount = 0;
};

class PageControlProperties {
public:
    // Walks the control table in order. A position the control's record does
    // not hold reads as the empty value.
    static void Apply(const PropertyTarget& target);
};

}  // namespace skin
