// The background window's colours, gradient rows, switch and picture path.
#include <gtest/gtest.h>

#include "control/BackgroundRules.h"

namespace {

using control::background::Rgb;

TEST(BackgroundRules, ColoursFromTheFourHexadecimalTexts) {
    using control::background::ParseColor;
    EXPECT_EQ(ParseColor("Blue@0x00,0x00,0xFF"), (Rgb{0, 0, 255}));
    EXPECT_EQ(ParseColor("Mix@0x80,0xC0,0xFF"), (Rgb{128, 192, 255}));
    // Decimal, lower-case or other levels are not understood: black.
    EXPECT_EQ(ParseColor("Blue@0,0,255"), (Rgb{0, 0, 0}));
    EXPECT_EQ(ParseColor("x@0xff,0x40,0xFF "), (Rgb{0, 0, 0}));
    // The name is ignored, even when missing; missing components are 0.
    EXPECT_EQ(ParseColor("0xFF,0x80,0xC0"), (Rgb{255, 128, 192}));
    EXPECT_EQ(ParseColor("Red@0xFF"), (Rgb{255, 0, 0}));
}

TEST(BackgroundRules, GradientRowsDivideLast) {
    using control::background::GradientRow;
    const Rgb top{0, 128, 255}, bottom{192, 255, 0};
    EXPECT_EQ(GradientRow(top, bottom, 0, 700), top);
    // Per component top + (bottom - top) * y / height, truncated toward zero:
    // 0 + 96, 128 + 63 (63.5), 255 - 127 (-127.5).
    EXPECT_EQ(GradientRow(top, bottom, 350, 700), (Rgb{96, 191, 128}));
    EXPECT_EQ(GradientRow(top, bottom, 699, 700), (Rgb{191, 254, 1}));
    // Equal colours give a flat background; a client area of no height is the top colour.
    EXPECT_EQ(GradientRow(bottom, bottom, 123, 700), bottom);
    EXPECT_EQ(GradientRow(top, bottom, 5, 0), top);
}

TEST(BackgroundRules, WantedOnlyForExactlyOneAndNotUnattended) {
    control::background::BackgroundSettings s;
    s.enabled = "1";
    EXPECT_TRUE(control::background::BackgroundWanted(s, false));
    EXPECT_FALSE(control::background::BackgroundWanted(s, true));
    for (const char* other : {"", "0", "Yes", "1 ", "01"}) {
        s.enabled = other;
        EXPECT_FALSE(control::background::BackgroundWanted(s, false)) << other;
    }
}

TEST(BackgroundRules, PictureInTheWorkingFolderByItsFileName) {
    using control::background::PicturePathTemplate;
    EXPECT_EQ(PicturePathTemplate("cv101500", "C:\\Art\\logo.bmp", 1252), "<TempFolder>\\cv101500\\logo.bmp");
    EXPECT_EQ(PicturePathTemplate("cv101500", "logo.jpg", 1252), "<TempFolder>\\cv101500\\logo.jpg");
    EXPECT_EQ(PicturePathTemplate("cv101500", "", 1252), "");
    EXPECT_EQ(PicturePathTemplate("cv101500", "C:\\Art\\", 1252), "");
}

}  // namespace
