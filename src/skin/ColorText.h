// Colours written as text in layout files: "red,green,blue" with decimal
// parts, the empty text and "COLOR_BTNFACE" standing for the system's
// button-face colour.
#pragma once

#include <string>

namespace skin::layout {

struct Rgb {
    int red = 0;
    int green = 0;
    int blue = 0;
    bool operator==(const Rgb& o) const { return red == o.red && green == o.green && blue == o.blue; }
};

// Red is the text before the first comma, green the text between the first
// and the second comma, blue the rest. A missing comma leaves the part before
// it empty and moves the remaining text on: "30" is blue alone, "10,20" red
// and blue. Each part is read as a decimal number (non-digits end it, empty
// is 0) and kept within 0..255.
Rgb ParseColor(const std::string& text);

// "%u,%u,%u".
std::string FormatColor(const Rgb& color);

// The empty text or "COLOR_BTNFACE": the button-face colour.
bool NamesButtonFace(const std::string& text);

// The colour text as the page stores it: a button-face name becomes the given
// button-face colour written as "%u,%u,%u"; any other text stays as written.
std::string ResolveBackground(const std::string& text, const Rgb& buttonFace);

// A text colour: the empty text is black ("0,0,0"); anything else as written.
std::string ResolveTextColor(const std::string& text);

}  // namespace skin::layout
