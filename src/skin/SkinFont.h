// Fonts of pages and controls, built from the system's non-client metrics
// with the face, size and flags a layout gives.
#pragma once

#include <windows.h>

#include <string>

namespace skin {

struct FontSpec {
    std::string face;
    int points = 0;
    bool bold = false;
    bool italic = false;
    bool underline = false;
};

// The system's non-client metrics, read with the structure size of 340 bytes
// (the structure up to its message font, without the padded-border field of
// later headers): every Windows version, and Wine, accept that size, whatever
// sizeof(NONCLIENTMETRICSA) the headers give. False when the call fails (the
// metrics are then zero).
bool ReadNonClientMetrics(NONCLIENTMETRICSA* metrics);

// The size the metrics are read with.
constexpr UINT kNonClientMetricsSize = 340;

// The caption height of the system's windows (iCaptionHeight).
int CaptionHeight();

// The screen's vertical dots per inch (96 when it cannot be read).
int ScreenDpi();

// The message font of the metrics with: height minus points times the
// screen's vertical dots per inch / 72 (MulDiv), weight 700 bold or 400,
// italic, underline and face from `wanted`, character set DEFAULT_CHARSET.
// The caller owns the font.
HFONT CreateSkinFont(const FontSpec& wanted);

}  // namespace skin
