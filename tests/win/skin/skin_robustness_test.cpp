// Layout files that are damaged, hostile or huge: the page is still made,
// quickly, without a crash, without writing past its tables, and without
// messages except the one a missing icon file asks for.
#include <chrono>
#include <map>

#include "core/Messages.h"
#include "skin/PictureControl.h"
#include "skin_support.h"

using namespace skintest;

namespace {

class SkinBadLayouts : public PageFixture {
protected:
    // Opens the layout while a watcher closes any message box; returns the seconds taken.
    double OpenTimed(const std::string& name, const std::string& text, skin::SkinnedPage** page) {
        WriteLayout(name, text);
        auto start = std::chrono::steady_clock::now();
        *page = &OpenExisting(name);
        return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    }
};

TEST_F(SkinBadLayouts, GarbageBytes) {
    std::string garbage;
    unsigned seed = 12345;
    for (int i = 0; i < 200000; ++i) {
        seed = seed * 1103515245u + 12345u;
        garbage += static_cast<char>((seed >> 16) & 0xFF);
    }
    MessageBoxWatcher boxes;
    skin::SkinnedPage* page;
    OpenTimed("garbage.lcd", garbage, &page);
    EXPECT_TRUE(page->IsOpen());
    EXPECT_TRUE(boxes.Texts().empty());
}

TEST_F(SkinBadLayouts, GarbageLinesAndFields) {
    std::string layout = "[MAINWINDOW]\r\ncaption=" + std::string(1000, 'c') +
                         "\r\nbkcolor=,,,,,\r\nstartup=zz\r\nwidth=abc\r\nheight=-\r\nfontsize=x\r\n"
                         "[INFO]\r\nTOTAL=12\r\n"
                         "0=\r\n1=,,,,,,,,,,,,,,,,,,,,,,,,,,,,,,,,,,,,,,,,,\r\n2=TEXT\r\n3=,,,,,TEXT\r\n"
                         "4=a,b,c,d,e,BUTTON,f,g,h\r\n5=" + std::string(5000, ',') + "\r\n"
                         "6=x,1,1,50,50,TEXT,,x,1," + std::string(3000, 'y') + "\r\n"
                         "7=x,1,1,50,50, TEXT,,x,1\r\n8=x,1,1,50,50,TEXT ,,x,1\r\n"
                         "9=x,1,1,50,50,RADIO,,x,777\r\n10=x,1,1,50,50,ICON,,x,9\r\n11=\x01\x02\x03\r\n"
                         "[DADOS]\r\n777,t=junk\r\n777,0=|||||\r\nh,t=5\r\n0,t=3\r\n0,0=\r\n0,1=Caption\r\n"
                         "9,t=2\r\n9,0=Name|IDC_I|0\r\n9,1=Icon File:|IDI_NOSUCH|0\r\n";
    MessageBoxWatcher boxes;
    skin::SkinnedPage* page;
    OpenTimed("lines.lcd", layout, &page);
    ASSERT_TRUE(page->IsOpen());
    // Lines 3, 4, 6 (TEXT, BUTTON, TEXT), 9 (RADIO) and 10 (ICON) are kinds.
    EXPECT_EQ(page->RecordCount(), 5u);
    EXPECT_TRUE(boxes.Texts().empty());  // an unknown built-in icon name is no file
    auto* icon = page->PictureControlNamed("IDC_ICON1");
    ASSERT_NE(icon, nullptr);
    EXPECT_EQ(icon->BuiltinIcon(), nullptr);
    EXPECT_EQ(TextOf(page->Window()).size(), 254u);
}

TEST_F(SkinBadLayouts, HugeAndNegativeNumbers) {
    std::string layout =
        "[MAINWINDOW]\r\nstartup=0\r\nwidth=99999999999\r\nheight=-99999999999\r\nfontsize=2147483647\r\n"
        "bkcolor=99999999999,-5,300\r\n[INFO]\r\nTOTAL=4\r\n"
        "0=x,2147483647,2147483647,2147483647,2147483647,TEXT,,x,2147483647\r\n"
        "1=x,-2147483648,-5,-300,-300,BUTTON,,x,-1\r\n"
        "2=x,10,10,-50,200,RECT,,x,99999999999\r\n"
        "3=x,10,10,10,-5,FRAME,,x,0\r\n"
        "[DADOS]\r\n2147483647,t=99999999999\r\n2147483647,0=Name|IDC_BIG|0\r\n2147483647,6=S|2147483647|0\r\n"
        "-1,t=-7\r\n0,t=2147483647\r\n";
    MessageBoxWatcher boxes;
    skin::SkinnedPage* page;
    double seconds = OpenTimed("huge.lcd", layout, &page);
    ASSERT_TRUE(page->IsOpen());
    EXPECT_LT(seconds, 10.0);
    EXPECT_EQ(page->RecordCount(), 4u);
    EXPECT_EQ(page->FindControl("IDC_BIG"), 3003);
    EXPECT_EQ(page->Record(0).entries.size(), skin::layout::kMaxPropertyEntries);
    EXPECT_EQ(page->Record(3).rect.Width(), 90);  // 10 by -5 is small: 90 by 25
    EXPECT_EQ(page->Background().Color(), RGB(255, 0, 255));
    EXPECT_TRUE(boxes.Texts().empty());
    ShowAndPaint(*page);
}

TEST_F(SkinBadLayouts, MissingPicturesAreSkippedQuietly) {
    std::string layout = "[MAINWINDOW]\r\nbkimage={" + dir.Path() + "nothere.bmp}\r\n[INFO]\r\nTOTAL=4\r\n" +
                         Line(0, "BITMAP", 0, 10, 10, 50, 50, "{nothere.bmp}") +
                         Line(1, "HOVER", 1, 10, 70, 50, 50, "") +
                         Line(2, "BITMAP", 2, 10, 130, 50, 50, "{notapicture.bmp}") +
                         Line(3, "ICON", 3, 100, 10, 32, 32) + "[DADOS]\r\n" +
                         Entries(3, {{"Name", "I"}, {"Icon File:", ""}});
    dir.Write("notapicture.bmp", "this is not a picture at all");
    MessageBoxWatcher boxes;
    skin::SkinnedPage* page;
    OpenTimed("missing.lcd", layout, &page);
    ASSERT_TRUE(page->IsOpen());
    EXPECT_FALSE(page->Background().HasPicture());
    EXPECT_EQ(page->RecordCount(), 4u);
    for (size_t i = 0; i < 3; ++i) {
        auto* picture = dynamic_cast<skin::PictureControl*>(page->Control(page->Record(i).id));
        ASSERT_NE(picture, nullptr);
        EXPECT_FALSE(picture->HasPicture());
        EXPECT_EQ(page->Record(i).rect.Width(), 50);
    }
    ShowAndPaint(*page);
    EXPECT_TRUE(boxes.Texts().empty());
}

TEST_F(SkinBadLayouts, MissingIconFileIsReported) {
    std::string layout = MainWindow() + "[INFO]\r\nTOTAL=2\r\n" + Line(0, "ICON", 0, 10, 10) +
                         Line(1, "ICON", 1, 60, 10) + "[DADOS]\r\n" +
                         Entries(0, {{"Name", "I0"}, {"Icon File:", "{missing.ico}"}, {"BackColor:", ""}}) +
                         Entries(1, {{"Name", "I1"}, {"Icon File:", "C:\\no\\such\\file.ico"}});
    MessageBoxWatcher boxes;
    skin::SkinnedPage* page;
    OpenTimed("icons.lcd", layout, &page);
    ASSERT_TRUE(page->IsOpen());
    std::vector<std::string> texts = boxes.Texts();
    ASSERT_EQ(texts.size(), 2u);
    // Applied in table order: line 0 first.
    EXPECT_EQ(texts[0], "File not found: (" + dir.Path() + "missing.ico)");
    EXPECT_EQ(texts[1], "File not found: (C:\\no\\such\\file.ico)");
    EXPECT_EQ(boxes.Captions()[0], core::kMessageCaption);
    auto* icon = page->PictureControlNamed("IDC_ICON2");  // line 0 was created second
    ASSERT_NE(icon, nullptr);
    EXPECT_FALSE(icon->HasPicture());
    EXPECT_EQ(icon->BuiltinIcon(), nullptr);
}

// A 32x32 icon file of one colour (32-bit pixels, empty mask).
std::string IconFile(COLORREF color) {
    std::string data;
    auto put = [&](unsigned v, int bytes) {
        for (int i = 0; i < bytes; ++i) data += static_cast<char>((v >> (8 * i)) & 0xFF);
    };
    const unsigned imageSize = 40 + 32 * 32 * 4 + 32 * 4;
    put(0, 2), put(1, 2), put(1, 2);                               // icon directory, one image
    put(32, 1), put(32, 1), put(0, 1), put(0, 1), put(1, 2), put(32, 2);
    put(imageSize, 4), put(22, 4);
    put(40, 4), put(32, 4), put(64, 4), put(1, 2), put(32, 2);    // BITMAPINFOHEADER, height doubled
    put(0, 4), put(32 * 32 * 4 + 32 * 4, 4), put(0, 4), put(0, 4), put(0, 4), put(0, 4);
    for (int i = 0; i < 32 * 32; ++i)
        put(0xFF000000u | (GetRValue(color) << 16) | (GetGValue(color) << 8) | GetBValue(color), 4);
    for (int i = 0; i < 32; ++i) put(0, 4);                        // AND mask: all shown
    return data;
}

TEST_F(SkinBadLayouts, IconFileIsLoaded) {
    dir.Write("green.ico", IconFile(RGB(0, 200, 0)));
    MessageBoxWatcher boxes;
    skin::SkinnedPage* page;
    OpenTimed("iconfile.lcd", MainWindow() + "[INFO]\r\nTOTAL=1\r\n" + Line(0, "ICON", 0, 10, 10) +
                                  "[DADOS]\r\n" + Entries(0, {{"Name", "I"}, {"Icon File:", "{green.ico}"}}),
              &page);
    auto* icon = page->PictureControlNamed("IDC_ICON1");
    ASSERT_NE(icon, nullptr);
    EXPECT_TRUE(icon->HasPicture());
    EXPECT_EQ(icon->PictureWidth(), 32);
    EXPECT_TRUE(boxes.Texts().empty());
    ShowAndPaint(*page);
    Pixels shot(page->Window());
    EXPECT_EQ(shot.At(10 + 16, 10 + 16), RGB(0, 200, 0));
}

TEST_F(SkinBadLayouts, TableLimitsHold) {
    // Lines 0..59 texts, rects, frames and list views (15 lines each), 60..79
    // buttons, 80..99 pictures (BITMAP and HOVER). Created from the last line:
    // 15 pictures, 15 buttons, then 40 more from line 59 down until the page
    // holds 70. A control with 40 entries keeps 15.
    const char* fill[] = {"TEXT", "RECT", "FRAME", "LISTVIEW"};
    std::string layout = MainWindow() + "[INFO]\r\nTOTAL=100\r\n";
    for (int i = 0; i < 100; ++i) {
        std::string kind = i < 60 ? fill[i / 15] : (i < 80 ? "BUTTON" : (i % 2 ? "HOVER" : "BITMAP"));
        layout += Line(i, kind, i, 2 + (i % 10) * 39, 2 + (i / 10) * 27, 38, 26);
    }
    layout += "[DADOS]\r\n99,t=40\r\n";
    for (int e = 0; e < 40; ++e) layout += "99," + std::to_string(e) + "=E" + std::to_string(e) + "|v|0\r\n";
    skin::SkinnedPage* page;
    OpenTimed("limits.lcd", layout, &page);
    ASSERT_EQ(page->RecordCount(), 70u);
    std::map<std::string, int> kinds;
    for (size_t i = 0; i < page->RecordCount(); ++i) {
        const skin::layout::ControlRecord& r = page->Record(i);
        ++kinds[r.keyword == "HOVER" ? "BITMAP" : r.keyword];
        EXPECT_NE(page->ControlWindow(r.id), nullptr);
        EXPECT_LT(r.kindIndex, 15);
    }
    EXPECT_EQ(kinds["BITMAP"], 15);
    EXPECT_EQ(kinds["BUTTON"], 15);
    EXPECT_EQ(kinds["LISTVIEW"], 15);
    EXPECT_EQ(kinds["FRAME"], 15);
    EXPECT_EQ(kinds["RECT"], 10);
    EXPECT_EQ(kinds["TEXT"], 0);
    EXPECT_EQ(page->Record(0).lineKey, 20);
    EXPECT_EQ(page->Record(0).id, 3069);
    const skin::layout::ControlRecord& last = page->Record(page->RecordCount() - 1);
    EXPECT_EQ(last.lineKey, 99);
    EXPECT_EQ(last.entries.size(), skin::layout::kMaxPropertyEntries);
    EXPECT_EQ(last.entries[14].name, "E14");
    ShowAndPaint(*page);
}

TEST_F(SkinBadLayouts, TenThousandLines) {
    std::string layout = MainWindow() + "[INFO]\r\nTOTAL=10000\r\n";
    for (int i = 0; i < 10000; ++i) layout += Line(i, i % 2 ? "TEXT" : "NOTHING", i, i % 300, i % 200, 50, 20);
    layout += "[DADOS]\r\n";
    for (int i = 0; i < 10000; ++i) layout += Entries(i, {{"Name", "N" + std::to_string(i)}, {"Caption", "c"}});
    skin::SkinnedPage* page;
    double seconds = OpenTimed("big.lcd", layout, &page);
    EXPECT_LT(seconds, 30.0);
    ASSERT_EQ(page->RecordCount(), 15u);
    EXPECT_EQ(page->Record(14).name, "N9999");
    EXPECT_EQ(page->Record(0).name, "N9971");
}

TEST_F(SkinBadLayouts, HugeTotalWithFewLinesIsQuick) {
    std::string layout = MainWindow() + "[INFO]\r\nTOTAL=2000000000\r\n" + Line(0, "BUTTON", 1) +
                         Line(5, "TEXT", 2) + "1999999999=c,1,1,50,50,RECT,,x,3\r\n[DADOS]\r\n" +
                         Entries(1, {{"Name", "first"}});
    skin::SkinnedPage* page;
    double seconds = OpenTimed("total.lcd", layout, &page);
    EXPECT_LT(seconds, 10.0);
    ASSERT_EQ(page->RecordCount(), 3u);
    EXPECT_EQ(page->Record(0).name, "first");
    EXPECT_EQ(page->Record(0).id, 3002);
    EXPECT_EQ(page->Record(2).keyword, "RECT");
    EXPECT_EQ(page->Record(2).id, 3000);
}

}  // namespace
