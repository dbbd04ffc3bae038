#include "skin/ColorText.h"

#include "skin/LayoutValues.h"

namespace skin::layout {

namespace {

int Part(const std::string& text) {
    int n = Number(text);
    if (n < 0) return 0;
    return n > 255 ? 255 : n;
}

}  // namespace

Rgb ParseColor(const std::string& text) {
    std::string parts[3];
    std::string rest = text;
    for (int i = 0; i < 2; ++i) {
        size_t comma = rest.find(',');
        if (comma == std::string::npos) continue;  // this part stays empty
        parts[i] = rest.substr(0, comma);
        rest = rest.substr(comma + 1);
    }
    parts[2] = rest;
    return Rgb{Part(parts[0]), Part(parts[1]), Part(parts[2])};
}

std::string FormatColor(const Rgb& c) {
    return std::to_string(static_cast<unsigned>(c.red)) + "," +
           std::to_string(static_cast<unsigned>(c.green)) + "," +
           std::to_string(static_cast<unsigned>(c.blue));
}

bool NamesButtonFace(const std::string& text) { return text.empty() || text == "COLOR_BTNFACE"; }

std::string ResolveBackground(const std::string& text, const Rgb& buttonFace) {
    return NamesButtonFace(text) ? FormatColor(buttonFace) : text;
}

std::string ResolveTextColor(const std::string& text) { return text.empty() ? "0,0,0" : text; }

}  // namespace skin::layout
