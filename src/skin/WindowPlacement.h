// Where a page window goes on the screen, from its layout's startup, width
// and height values, and which buttons its place in the page list disables.
#pragma once

#include <string>

namespace skin::layout {

struct Placement {
    bool move = false;  // false: the window stays as created
    int left = 0, top = 0, width = 0, height = 0;
};

// The height is `height` minus (25 minus the caption height) when the
// caption height is 24 or less. The first two characters of `startup` read as
// a number select the corner: 0 centred, 2 top left, 3 top right, 4 bottom
// left, 5 bottom right (the bottom ones 35 pixels above the screen's edge);
// anything else leaves the window alone. Integer divisions throughout.
// Width and height are scaled to a screen of `dpi` first (ScaleForDpi).
Placement PlaceWindow(const std::string& startup, const std::string& width,
                      const std::string& height, int captionHeight, int screenWidth,
                      int screenHeight, int dpi = 96);

// The page's place in the page list: Back is disabled on the first page,
// Back and Cancel on the last (the complete page shown after a cancel has an
// index equal to the count and counts as last too).
inline bool IsFirstPage(int index, int /*count*/) { return index == 0; }
inline bool IsLastPage(int index, int count) { return index == count - 1 || index == count; }

}  // namespace skin::layout
