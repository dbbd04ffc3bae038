// Where pages go on the screen: centred with the caption-height rule, the
// four corners, and every other startup value leaving the window where it
// was created. The expected places are computed from the same system metric
// the page reads.
#include "skin/SkinFont.h"
#include "skin_support.h"

using namespace skintest;

namespace {

class SkinPlacement : public PageFixture {
protected:
    RECT Placed(const std::string& startup, int width, int height) {
        skin::SkinnedPage& page = Open("place" + std::to_string(++n_) + ".lcd",
                                 "[MAINWINDOW]\r\nstartup=" + startup + "\r\nwidth=" + std::to_string(width) +
                                     "\r\nheight=" + std::to_string(height) + "\r\n");
        RECT rc;
        GetWindowRect(page.Window(), &rc);
        return rc;
    }
    int ExpectedHeight(int height) {
        int caption = skin::CaptionHeight();
        return caption <= 24 ? height - (25 - caption) : height;
    }
    int screenW = GetSystemMetrics(SM_CXSCREEN);
    int screenH = GetSystemMetrics(SM_CYSCREEN);
    int n_ = 0;
};

TEST_F(SkinPlacement, MetricsAreReadWithTheShortStructure) {
    NONCLIENTMETRICSA metrics;
    ASSERT_TRUE(skin::ReadNonClientMetrics(&metrics));
    EXPECT_GT(metrics.iCaptionHeight, 0);
    EXPECT_EQ(skin::CaptionHeight(), metrics.iCaptionHeight);
    EXPECT_NE(metrics.lfMessageFont.lfFaceName[0], '\0');
}

TEST_F(SkinPlacement, StartupZeroCentres) {
    RECT rc = Placed("0", 500, 400);
    int height = ExpectedHeight(400);
    EXPECT_EQ(rc.right - rc.left, 500);
    EXPECT_EQ(rc.bottom - rc.top, height);
    EXPECT_EQ(rc.left, screenW / 2 - 500 / 2);
    EXPECT_EQ(rc.top, screenH / 2 - height / 2);
    // On the test screen of 1024x768 with a 19-pixel caption: 262, 187, 394.
    if (screenW == 1024 && screenH == 768 && skin::CaptionHeight() == 19) {
        EXPECT_EQ(rc.left, 262);
        EXPECT_EQ(rc.top, 187);
        EXPECT_EQ(rc.bottom - rc.top, 394);
    }
}

TEST_F(SkinPlacement, CornersTwoToFive) {
    const int w = 301, h = 203;
    const int height = ExpectedHeight(h);
    struct Corner {
        const char* startup;
        int left, top;
    } corners[] = {
        {"2", 0, 0},
        {"3", screenW - w, 0},
        {"4", 0, screenH - height - 35},
        {"5", screenW - w, screenH - height - 35},
        {"05 bottom right", screenW - w, screenH - height - 35},
    };
    for (const Corner& c : corners) {
        SCOPED_TRACE(c.startup);
        RECT rc = Placed(c.startup, w, h);
        EXPECT_EQ(rc.left, c.left);
        EXPECT_EQ(rc.top, c.top);
        EXPECT_EQ(rc.right - rc.left, w);
        EXPECT_EQ(rc.bottom - rc.top, height);
    }
}

TEST_F(SkinPlacement, OtherValuesLeaveTheWindowAsCreated) {
    skin::SkinnedPage created(&host);
    ASSERT_TRUE(created.Create());
    RECT original;
    GetWindowRect(created.Window(), &original);
    created.Close();
    for (const char* startup : {"1", "9", "6", "-2", "x9"}) {
        SCOPED_TRACE(startup);
        RECT rc = Placed(startup, 640, 480);
        if (std::string(startup) == "x9") {
            // Not a number: reads as 0, centred.
            EXPECT_EQ(rc.right - rc.left, 640);
            continue;
        }
        EXPECT_EQ(rc.left, original.left);
        EXPECT_EQ(rc.top, original.top);
        EXPECT_EQ(rc.right - rc.left, original.right - original.left);
        EXPECT_EQ(rc.bottom - rc.top, original.bottom - original.top);
    }
}

}  // namespace
