// Picture sizes: OLE pictures measure themselves in hundredths of a
// millimetre; the page works in screen pixels.
#pragma once

namespace skin::layout {

// pixels = (size * dotsPerInch + 1270) / 2540, in integers.
inline long HimetricToPixels(long himetric, int dotsPerInch) {
    return static_cast<long>((static_cast<long long>(himetric) * dotsPerInch + 1270) / 2540);
}

}  // namespace skin::layout
