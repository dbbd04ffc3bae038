// The background window's rules that need no Windows call: which settings
// turn it on, how its two gradient colours are written and how each row of
// the gradient is coloured, and where its picture is looked for.
#pragma once

#include <cstddef>
#include <string>

#include "skin/ColorText.h"

namespace control::background {

// Components from 0 to 255, as the pages' colours.
using Rgb = skin::layout::Rgb;

// The BACKGROUND section as read.
struct BackgroundSettings {
    std::string enabled;      // "0": exactly "1" turns the background on
    std::string title;        // "1": drawn at the top left
    std::string footer;       // "2": drawn near the bottom right
    std::string topColor;     // "3"
    std::string bottomColor;  // "4"
    std::string picture;      // "5": only its file name part is used
};

// The authoring tool offers four levels per component and writes each as
// one of these texts; anything else (a decimal 255 too) reads as 0.
// "0x00" 0, "0x80" 128, "0xC0" 192, "0xFF" 255.
int ColorComponent(const std::string& text);

// "Name@R,G,B": the part before the first "@" is the colour's display name
// and is ignored; a value without "@" is read whole. Missing components are 0.
Rgb ParseColor(const std::string& value);

// Colour of pixel row y of a client area `height` rows high: each component
// top + (bottom - top) * y / height in integers, the division last.
Rgb GradientRow(const Rgb& top, const Rgb& bottom, int y, int height);

// Shown only when "0" is exactly "1" and the run is not unattended.
bool BackgroundWanted(const BackgroundSettings& s, bool unattended);

// The picture's path before placeholder expansion:
// "<TempFolder>\<working folder name>\<file name part>", the working folder
// into which the cabinet was extracted. Empty when "5" names no file.
std::string PicturePathTemplate(const std::string& workingFolderName, const std::string& picture,
                                unsigned codePage);

// The footer is drawn with at most this many characters.
constexpr size_t kMaxFooterLength = 254;

}  // namespace control::background
