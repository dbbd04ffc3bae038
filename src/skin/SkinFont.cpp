#include "skin/SkinFont.h"

#include <cstddef>

#include "util/Text.h"

static_assert(offsetof(NONCLIENTMETRICSA, lfMessageFont) + sizeof(LOGFONTA) ==
                  skin::kNonClientMetricsSize,
              "the metrics up to the message font take 340 bytes");

namespace skin {

bool ReadNonClientMetrics(NONCLIENTMETRICSA* metrics) {
    ZeroMemory(metrics, sizeof *metrics);
    metrics->cbSize = kNonClientMetricsSize;
    return SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, kNonClientMetricsSize, metrics, 0) != FALSE;
}

int CaptionHeight() {
    NONCLIENTMETRICSA metrics;
    ReadNonClientMetrics(&metrics);
    return metrics.iCaptionHeight;
}

int ScreenDpi() {
    HDC screen = GetDC(nullptr);
    const int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSY) : 96;
    if (screen) ReleaseDC(nullptr, screen);
    return dpi > 0 ? dpi : 96;
}

HFONT CreateSkinFont(const FontSpec& wanted) {
    NONCLIENTMETRICSA metrics;
    ReadNonClientMetrics(&metrics);
    LOGFONTA font = metrics.lfMessageFont;
    font.lfHeight = -MulDiv(wanted.points, ScreenDpi(), 72);
    font.lfWeight = wanted.bold ? FW_BOLD : FW_NORMAL;
    font.lfItalic = wanted.italic ? TRUE : FALSE;
    font.lfUnderline = wanted.underline ? TRUE : FALSE;
    // The metrics' character set is the system's (Cyrillic, Shift-JIS...):
    // with it, a German text from a Unicode language file loses its
    // umlauts. The default set lets the system pick glyphs for every
    // character the wide calls draw; ANSI texts look as before.
    font.lfCharSet = DEFAULT_CHARSET;
    util::text::CopyTruncated(font.lfFaceName, sizeof font.lfFaceName, wanted.face.c_str());
    return CreateFontIndirectA(&font);
}

}  // namespace skin
