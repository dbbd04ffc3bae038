#include "skin/WindowPlacement.h"

#include "skin/ControlKinds.h"
#include "skin/LayoutValues.h"

namespace skin::layout {

namespace {

// Window sizes are kept to this many pixels so the arithmetic cannot overflow.
constexpr int kSizeLimit = 1000000;

int Limited(int v) { return v > kSizeLimit ? kSizeLimit : (v < -kSizeLimit ? -kSizeLimit : v); }

}  // namespace

Placement PlaceWindow(const std::string& startup, const std::string& width,
                      const std::string& height, int captionHeight, int screenWidth,
                      int screenHeight, int dpi) {
    Placement p;
    p.width = ScaleForDpi(Limited(Number(width)), dpi);
    p.height = ScaleForDpi(Limited(Number(height)), dpi);
    if (captionHeight <= 24) p.height -= 25 - captionHeight;
    switch (Number(startup.substr(0, 2))) {
    case 0:
        p.left = screenWidth / 2 - p.width / 2;
        p.top = screenHeight / 2 - p.height / 2;
        break;
    case 2:
        p.left = 0;
        p.top = 0;
        break;
    case 3:
        p.left = screenWidth - p.width;
        p.top = 0;
        break;
    case 4:
        p.left = 0;
        p.top = screenHeight - p.height - 35;
        break;
    case 5:
        p.left = screenWidth - p.width;
        p.top = screenHeight - p.height - 35;
        break;
    default:
        return p;
    }
    p.move = true;
    return p;
}

}  // namespace skin::layout

