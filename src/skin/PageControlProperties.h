// Applying the position-addressed property entries of every control of a
// page, once all controls exist: names from entry 0, captions, fonts,
// colours, link, icons, and the page-list rules of the navigation buttons.
#pragma once

class SkinnedPage;

class PageControlProperties {
public:
    // Walks the page's control table in order. A position the control's
    // record does not hold reads as the empty value.
    static void Apply(SkinnedPage& page);
};
