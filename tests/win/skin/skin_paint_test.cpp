// What a shown page looks like on the screen: the background picture
// stretched over the window's outer size, texts on the button-face colour
// letting the picture through, filled texts, blue underlined links, etched
// frames, built-in icons, and pictures taking their own size.
#include <windows.h>
#include <commctrl.h>

#include "skin/PictureControl.h"
#include "skin_support.h"

using namespace skintest;

namespace {

const COLORREF kRed = RGB(255, 0, 0);
const COLORREF kBlue = RGB(0, 0, 255);
const COLORREF kGreen = RGB(0, 255, 0);

bool Bluish(COLORREF c) { return GetBValue(c) > 150 && GetRValue(c) < 110 && GetGValue(c) < 110; }
bool Reddish(COLORREF c) { return GetRValue(c) > 150 && GetGValue(c) < 110 && GetBValue(c) < 110; }

class SkinPaint : public PageFixture {
protected:
    std::string Picture(const std::string& name, int w, int h, int split, COLORREF top, COLORREF bottom) {
        return dir.Write(name, Bmp(w, h, split, top, bottom));
    }
};

TEST_F(SkinPaint, ButtonFaceTextShowsThePictureAndOtherColoursFill) {
    std::string back = Picture("back.bmp", 8, 8, 8, kRed, kRed);
    auto text = [](int n, const char* bk) {
        return Entries(n, {{"Name", "T" + std::to_string(n)}, {"Caption", ""}, {"Align", "1"},
                           {"Color", "0,0,0"}, {"BackColor", bk}});
    };
    skin::SkinnedPage& page = Open(
        "fill.lcd", MainWindow("bkimage=" + back + "\r\n") + "[INFO]\r\nTOTAL=3\r\n" +
                        Line(0, "TEXT", 0, 20, 20, 100, 40) + Line(1, "TEXT", 1, 20, 80, 100, 40) +
                        Line(2, "TEXT", 2, 20, 140, 100, 40) + "[DADOS]\r\n" + text(0, "COLOR_BTNFACE") +
                        text(1, "0,255,0") + text(2, ""));
    ASSERT_TRUE(page.Background().HasPicture());
    ShowAndPaint(page);
    Pixels shot(page.Window());
    EXPECT_EQ(shot.At(5, 5), kRed);      // the page's picture
    EXPECT_EQ(shot.At(70, 40), kRed);    // button-face text: not filled
    EXPECT_EQ(shot.At(70, 100), kGreen); // filled
    EXPECT_EQ(shot.At(21, 81), kGreen);
    EXPECT_EQ(shot.At(70, 160), kRed);   // empty colour is the button face: not filled
}

TEST_F(SkinPaint, BackgroundIsStretchedOverTheOuterSize) {
    // Top half red, bottom half blue: the boundary lands at half the outer
    // height, below half the client height.
    std::string back = Picture("halves.bmp", 10, 10, 5, kRed, kBlue);
    skin::SkinnedPage& page = Open("stretch.lcd", MainWindow("bkimage=" + back + "\r\n"));
    ShowAndPaint(page);
    RECT outer, client;
    GetWindowRect(page.Window(), &outer);
    GetClientRect(page.Window(), &client);
    int outerHalf = (outer.bottom - outer.top) / 2;
    int clientHalf = client.bottom / 2;
    ASSERT_GT(outerHalf - clientHalf, 4) << "the window needs a caption for this test";
    Pixels shot(page.Window());
    int x = client.right / 2;
    EXPECT_EQ(shot.At(x, (outerHalf + clientHalf) / 2), kRed);
    EXPECT_EQ(shot.At(x, outerHalf + 3), kBlue);
    EXPECT_EQ(shot.At(x, 2), kRed);
    EXPECT_EQ(page.Background().PictureWidth(), 10);
    EXPECT_EQ(page.Background().PictureHeight(), 10);
}

TEST_F(SkinPaint, WithoutPictureThePageShowsItsColour) {
    skin::SkinnedPage& page = Open("color.lcd", MainWindow("bkcolor=12,34,56\r\nbkimage=" + dir.Path() + "none.bmp\r\n"));
    EXPECT_FALSE(page.Background().HasPicture());
    ShowAndPaint(page);
    Pixels shot(page.Window());
    EXPECT_EQ(shot.At(50, 50), RGB(12, 34, 56));
}

// Counts the link's pixels: bluish and reddish ones, and the longest run of
// bluish pixels in one row (an underline spans the text).
struct InkCount {
    int blue = 0, red = 0, longestRun = 0, textWidth = 0;
};
InkCount Ink(const Pixels& shot, RECT area) {
    InkCount ink;
    int minX = area.right, maxX = area.left;
    for (int y = area.top; y < area.bottom; ++y) {
        int run = 0;
        for (int x = area.left; x < area.right; ++x) {
            COLORREF c = shot.At(x, y);
            if (Reddish(c)) ++ink.red;
            if (Bluish(c)) {
                ++ink.blue;
                ++run;
                if (run > ink.longestRun) ink.longestRun = run;
                if (x < minX) minX = x;
                if (x > maxX) maxX = x;
            } else {
                run = 0;
            }
        }
    }
    ink.textWidth = maxX >= minX ? maxX - minX + 1 : 0;
    return ink;
}

TEST_F(SkinPaint, LinkIsDrawnBlueAndUnderlinedWhateverItsColour) {
    auto text = [](int n, const char* color, const char* link) {
        return Entries(n, {{"Name", "T" + std::to_string(n)}, {"Caption", "WWWWWW"}, {"Align", "1"},
                           {"Color", color}, {"BackColor", "255,255,255"}, {"Font", "Arial"},
                           {"Size", "16"}, {"Bold", "No"}, {"Italic", "No"}, {"URL Link", link}});
    };
    skin::SkinnedPage& page = Open("link.lcd", MainWindow() + "[INFO]\r\nTOTAL=3\r\n" +
                                             Line(0, "TEXT", 0, 10, 10, 300, 40) +
                                             Line(1, "TEXT", 1, 10, 60, 300, 40) +
                                             Line(2, "TEXT", 2, 10, 110, 300, 40) + "[DADOS]\r\n" +
                                             text(0, "255,0,0", "Yes") + text(1, "0,0,255", "No") +
                                             text(2, "255,0,0", "No"));
    ShowAndPaint(page);
    Pixels shot(page.Window());
    InkCount link = Ink(shot, RECT{10, 10, 310, 50});
    InkCount plainBlue = Ink(shot, RECT{10, 60, 310, 100});
    InkCount plainRed = Ink(shot, RECT{10, 110, 310, 150});
    EXPECT_GT(link.blue, 50);
    EXPECT_EQ(link.red, 0);  // red was asked for; a link is blue
    EXPECT_GT(plainRed.red, 50);
    // The underline: one row of blue across (nearly) the whole text.
    ASSERT_GT(link.textWidth, 40);
    EXPECT_GE(link.longestRun, link.textWidth * 9 / 10);
    EXPECT_LT(plainBlue.longestRun, plainBlue.textWidth / 2);
}

TEST_F(SkinPaint, FrameIsAnEtchedEdgeAroundThePicture) {
    std::string back = Picture("back.bmp", 8, 8, 8, kRed, kRed);
    skin::SkinnedPage& page = Open("frame.lcd", MainWindow("bkimage=" + back + "\r\n") + "[INFO]\r\nTOTAL=1\r\n" +
                                              Line(0, "FRAME", 0, 20, 20, 200, 100));
    ShowAndPaint(page);
    Pixels shot(page.Window());
    EXPECT_EQ(shot.At(20, 20), GetSysColor(COLOR_BTNSHADOW));     // outer edge
    EXPECT_EQ(shot.At(21, 21), GetSysColor(COLOR_BTNHIGHLIGHT));  // inner edge
    EXPECT_EQ(shot.At(120, 70), kRed);                             // inside shows the page
    EXPECT_EQ(shot.At(120, 19), kRed);
}

TEST_F(SkinPaint, BuiltInIconsAreDrawnOnTheirBackground) {
    const char* names[] = {"IDI_EXCLAMATION", "IDI_INFO", "IDI_ERROR", "IDI_TYPICAL",
                           "IDI_MINIMAL", "IDI_CUSTOM", "IDI_SETUP", "IDI_FOLDER"};
    std::string layout = MainWindow() + "[INFO]\r\nTOTAL=8\r\n";
    for (int i = 0; i < 8; ++i) layout += Line(i, "ICON", i, 10 + 40 * i, 10, 80, 8);
    layout += "[DADOS]\r\n";
    for (int i = 0; i < 8; ++i)
        layout += Entries(i, {{"Name", "I"}, {"Icon File:", names[i]}, {"BackColor:", "255,255,0"}});
    skin::SkinnedPage& page = Open("icons.lcd", layout);
    ShowAndPaint(page);
    Pixels shot(page.Window());
    for (int i = 0; i < 8; ++i) {
        SCOPED_TRACE(names[i]);
        const skin::layout::ControlRecord& r = page.Record(i);
        EXPECT_EQ(r.rect.Width(), 32);
        EXPECT_EQ(r.rect.Height(), 32);
        RECT rc = RectInParent(page.ControlWindow(r.id));
        EXPECT_EQ(rc.right - rc.left, 32);
        EXPECT_EQ(rc.bottom - rc.top, 32);
        auto* icon = dynamic_cast<skin::PictureControl*>(page.Control(r.id));
        ASSERT_NE(icon, nullptr);
        EXPECT_NE(icon->BuiltinIcon(), nullptr);
        EXPECT_EQ(reinterpret_cast<HICON>(SendMessageA(icon->Window(), STM_GETICON, 0, 0)), icon->BuiltinIcon());
        // The corner is transparent in every icon: the background shows.
        EXPECT_EQ(shot.At(rc.left, rc.top), RGB(255, 255, 0));
        // Something of the icon itself is drawn.
        int drawn = 0;
        for (int y = rc.top; y < rc.bottom; ++y)
            for (int x = rc.left; x < rc.right; ++x) drawn += shot.At(x, y) != RGB(255, 255, 0);
        EXPECT_GT(drawn, 100);
    }
}

TEST_F(SkinPaint, PicturesTakeTheirOwnSize) {
    std::string side = Picture("side.bmp", 120, 60, 30, kRed, kBlue);
    skin::SkinnedPage& page = Open(
        "pictures.lcd",
        MainWindow() + "[INFO]\r\nTOTAL=3\r\n" + Line(0, "BITMAP", 0, 30, 40, 5, 5, "{side}.bmp") +
            Line(1, "HOVER", 1, 200, 40, 10, 10, "side.bmp") +
            Line(2, "BITMAP", 2, 30, 150, 70, 20, "{missing.bmp}"));
    HDC screen = GetDC(nullptr);
    int dpiX = GetDeviceCaps(screen, LOGPIXELSX), dpiY = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    // Through hundredths of millimetres and back.
    int w = static_cast<int>((static_cast<long long>(120 * 2540 + dpiX / 2) / dpiX * dpiX + 1270) / 2540);
    int h = static_cast<int>((static_cast<long long>(60 * 2540 + dpiY / 2) / dpiY * dpiY + 1270) / 2540);
    EXPECT_EQ(page.Record(0).rect.Width(), w);
    EXPECT_EQ(page.Record(0).rect.Height(), h);
    RECT rc = RectInParent(page.ControlWindow(page.Record(0).id));
    EXPECT_EQ(rc.left, 30);
    EXPECT_EQ(rc.top, 40);
    EXPECT_EQ(rc.right - rc.left, w);
    EXPECT_EQ(page.Record(1).rect.Width(), w);  // HOVER too
    // A missing picture leaves the line's rectangle (no minimum size for pictures).
    RECT missing = RectInParent(page.ControlWindow(page.Record(2).id));
    EXPECT_EQ(missing.right - missing.left, 70);
    EXPECT_EQ(missing.bottom - missing.top, 20);
    ShowAndPaint(page);
    Pixels shot(page.Window());
    EXPECT_EQ(shot.At(30 + w / 2, 40 + 5), kRed);
    EXPECT_EQ(shot.At(30 + w / 2, 40 + h - 5), kBlue);
}

TEST_F(SkinPaint, TreeViewHasTheTwoTreeImages) {
    skin::SkinnedPage& page = Open("tree.lcd", MainWindow() + "[INFO]\r\nTOTAL=1\r\n" +
                                             Line(0, "TREEVIEW", 0, 10, 10, 200, 100));
    HIMAGELIST images = reinterpret_cast<HIMAGELIST>(
        SendMessageA(page.ControlWindow(3000), TVM_GETIMAGELIST, TVSIL_NORMAL, 0));
    ASSERT_NE(images, nullptr);
    EXPECT_EQ(ImageList_GetImageCount(images), 2);
    int cx = 0, cy = 0;
    ImageList_GetIconSize(images, &cx, &cy);
    EXPECT_EQ(cx, 32);
    EXPECT_EQ(cy, 16);
}

}  // namespace
