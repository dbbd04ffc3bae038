// Control creation without windows: creation order and identifiers, names
// and default texts, the minimum sizes, name lookup, the command range, the
// table limits, and the page's placement on the screen.
#include <gtest/gtest.h>

#include <chrono>

#include "skin/LayoutLoader.h"
#include "skin/MemoryIniSource.h"
#include "skin/WindowPlacement.h"

using namespace skin::layout;

namespace {

const char kPath[] = "C:\\Setup\\theme\\page.lcd";

// Records what the page would create, in creation order.
class RecordingFactory : public ControlFactory {
public:
    void CreateControl(ControlRecord& record, const ControlLine& line) override {
        created.push_back(record);
        lines.push_back(line.key);
        record.rect.right += grow;  // a factory may adjust the rectangle
    }
    std::vector<ControlRecord> created;
    std::vector<int> lines;
    int Dpi() const override { return dpi; }
    int grow = 0;
    int dpi = kLayoutDpi;
};

std::string Line(int key, const std::string& kind, int number, int w = 80, int h = 22) {
    return std::to_string(key) + "=n," + "10,20," + std::to_string(w) + "," + std::to_string(h) +
           "," + kind + ",,x," + std::to_string(number) + "\n";
}

std::string Named(int number, const std::string& name) {
    return std::to_string(number) + ",t=1\n" + std::to_string(number) + ",0=Name|" + name + "|0\n";
}

struct Loaded {
    ControlTable table;
    RecordingFactory factory;
};

void Load(const std::string& text, Loaded& out, int dpi = kLayoutDpi) {
    out.factory.dpi = dpi;
    skin::MemoryIniSource ini(text);
    LayoutFile file(ini, kPath);
    LoadControls(file, out.table, out.factory);
}

TEST(SkinControlTable, ThreeLinesGetIdentifiersFromTheLast) {
    Loaded page;
    Load("[INFO]\nTOTAL=3\n" + Line(0, "BUTTON", 1) + Line(1, "TEXT", 2) + Line(2, "BUTTON", 3) +
             "[DADOS]\n" + Named(1, "IDC_FIRST") + Named(2, "IDC_SECOND") + Named(3, "IDC_THIRD"),
         page);
    ASSERT_EQ(page.table.Size(), 3u);
    EXPECT_EQ(page.factory.lines, (std::vector<int>{2, 1, 0}));
    // The table is in file order; the first line has the highest identifier.
    EXPECT_EQ(page.table.At(0).id, 3002);
    EXPECT_EQ(page.table.At(1).id, 3001);
    EXPECT_EQ(page.table.At(2).id, 3000);
    EXPECT_EQ(page.table.At(0).lineKey, 0);
    EXPECT_EQ(page.table.At(0).Entry(0), "IDC_FIRST");
    EXPECT_EQ(page.table.At(2).Entry(0), "IDC_THIRD");
    EXPECT_EQ(page.table.NextId(), 3003);
    EXPECT_EQ(page.table.FindById(3002), 0);
    EXPECT_EQ(page.table.FindById(3000), 2);
    EXPECT_EQ(page.table.FindById(3003), -1);
}

TEST(SkinControlTable, GeneratedNamesAndDefaultTextsCountPerKind) {
    Loaded page;
    Load("[INFO]\nTOTAL=6\n" + Line(0, "BUTTON", 1) + Line(1, "BUTTON", 2) + Line(2, "TEXT", 3) +
             Line(3, "CHECKBOX", 4) + Line(4, "HOVER", 5) + Line(5, "BITMAP", 6),
         page);
    ASSERT_EQ(page.table.Size(), 6u);
    // Line 1 was created first: the kind's count plus 1 is 1.
    EXPECT_EQ(page.table.At(1).name, "IDC_BUTTON1");
    EXPECT_EQ(page.table.At(1).defaultText, "Button 1");
    EXPECT_EQ(page.table.At(1).kindIndex, 0);
    EXPECT_EQ(page.table.At(0).name, "IDC_BUTTON2");
    EXPECT_EQ(page.table.At(0).defaultText, "Button 2");
    EXPECT_EQ(page.table.At(2).name, "IDC_STATIC1");
    EXPECT_EQ(page.table.At(2).defaultText, "Text 1");
    EXPECT_EQ(page.table.At(3).name, "IDC_CHECKBOX1");
    EXPECT_EQ(page.table.At(3).defaultText, "CheckBox1");
    // BITMAP and HOVER share one table and its count.
    EXPECT_EQ(page.table.At(5).name, "IDB_BITMAP1");
    EXPECT_EQ(page.table.At(4).name, "IDC_HOVER2");
    EXPECT_EQ(page.table.At(4).kindIndex, 1);
}

TEST(SkinControlTable, KindTableRows) {
    struct Row {
        const char* keyword;
        const char* name;
        const char* text;
        bool pageFont;
    } rows[] = {
        {"BUTTON", "IDC_BUTTON1", "Button 1", true},
        {"BITMAP", "IDB_BITMAP1", "", false},
        {"TEXT", "IDC_STATIC1", "Text 1", false},
        {"RECT", "IDC_RECT1", "", false},
        {"HOVER", "IDC_HOVER1", "", false},
        {"TEXTBOX", "IDC_TEXT1", "", true},
        {"COMBOBOX", "IDC_COMBO1", "", true},
        {"RADIO", "IDC_RADIO1", "Radio 1", true},
        {"HOTSPOT", "IDC_HOTSPOT1", "", false},
        {"ANIMATION", "IDC_ANIMATION1", "Animation Box 1", true},
        {"PROGRESS", "IDC_PROGRESS1", "", false},
        {"LISTVIEW", "IDC_LISTVIEW1", "ListView1", false},
        {"GROUPBOX", "IDC_GROUPBOX1", "GroupBox 1", true},
        {"ICON", "IDC_ICON1", "", false},
        {"TREEVIEW", "IDC_TREEVIEW1", "", true},
        {"FRAME", "IDC_FRAME1", "", false},
        {"RICHTEXT", "IDC_RICHTEXT1", "", false},
        {"CHECKBOX", "IDC_CHECKBOX1", "CheckBox1", true},
    };
    for (const Row& r : rows) {
        ControlTable table;
        ControlKind kind = KindFromKeyword(r.keyword);
        ASSERT_NE(kind, ControlKind::kNone) << r.keyword;
        ControlRecord* rec = table.Add(kind, Rect{0, 0, 100, 100});
        ASSERT_NE(rec, nullptr);
        EXPECT_EQ(rec->keyword, r.keyword);
        EXPECT_EQ(rec->name, r.name);
        EXPECT_EQ(rec->defaultText, r.text);
        EXPECT_EQ(Info(kind).pageFont, r.pageFont) << r.keyword;
    }
    EXPECT_EQ(KindFromKeyword("button"), ControlKind::kNone);  // case-sensitive
    EXPECT_EQ(KindFromKeyword("LABEL"), ControlKind::kNone);
    EXPECT_EQ(KindFromKeyword(""), ControlKind::kNone);
}

TEST(SkinControlTable, MinimumSizes) {
    auto size = [](const char* kind, int w, int h) {
        ControlTable table;
        Rect r = table.Add(KindFromKeyword(kind), LineRect(7, 9, w, h))->rect;
        EXPECT_EQ(r.left, 7);
        EXPECT_EQ(r.top, 9);
        return std::make_pair(r.Width(), r.Height());
    };
    EXPECT_EQ(size("BUTTON", 10, 5), std::make_pair(90, 25));
    EXPECT_EQ(size("BUTTON", 10, 20), std::make_pair(10, 20));  // only one dimension small
    EXPECT_EQ(size("BUTTON", 40, 5), std::make_pair(40, 5));
    EXPECT_EQ(size("BUTTON", 20, 9), std::make_pair(90, 25));   // threshold 10
    EXPECT_EQ(size("TEXT", 20, 9), std::make_pair(20, 9));      // threshold 8
    EXPECT_EQ(size("TEXT", 20, 7), std::make_pair(90, 25));
    EXPECT_EQ(size("TEXT", 29, 7), std::make_pair(90, 25));
    EXPECT_EQ(size("TEXT", 30, 7), std::make_pair(30, 7));
    EXPECT_EQ(size("ICON", 200, 100), std::make_pair(32, 32));
    EXPECT_EQ(size("ICON", 1, 1), std::make_pair(32, 32));
    EXPECT_EQ(size("BITMAP", 1, 1), std::make_pair(1, 1));      // no rule for pictures
    EXPECT_EQ(size("RECT", 5, -50), std::make_pair(90, 25));    // negative sizes are small
    EXPECT_EQ(size("RECT", -500, 60), std::make_pair(-500, 60));
}

TEST(SkinControlTable, HugeCoordinatesStayBounded) {
    Rect r = LineRect(2147483647, -2147483647 - 1, 2147483647, 2147483647);
    EXPECT_EQ(r.left, kCoordinateLimit);
    EXPECT_EQ(r.right, kCoordinateLimit);
    EXPECT_EQ(r.top, -kCoordinateLimit);
    EXPECT_EQ(r.bottom, 0);
}

TEST(SkinControlTable, NameLookupFindsFirstLineControl) {
    Loaded page;
    Load("[INFO]\nTOTAL=3\n" + Line(0, "BUTTON", 1) + Line(1, "BUTTON", 2) + Line(2, "TEXT", 3) +
             "[DADOS]\n" + Named(1, "IDC_SAME") + Named(2, "IDC_SAME") + Named(3, "IDC_OTHER"),
         page);
    // Names come from entry 0 only when the page applies its properties; here
    // the records are named as the page names them.
    for (size_t i = 0; i < page.table.Size(); ++i) page.table.At(i).name = page.table.At(i).Entry(0);
    EXPECT_EQ(page.table.FindByName("IDC_SAME"), 3002);  // line 0's control
    EXPECT_EQ(page.table.FindByName("IDC_OTHER"), 3000);
    EXPECT_EQ(page.table.FindByName("idc_same"), -1);
    EXPECT_EQ(page.table.FindByName("IDC_NONE"), -1);
}

TEST(SkinControlTable, CommandsOnlyFromTheFirstThirtyOneIdentifiers) {
    EXPECT_FALSE(ControlTable::HandlesCommand(2999));
    EXPECT_TRUE(ControlTable::HandlesCommand(3000));
    EXPECT_TRUE(ControlTable::HandlesCommand(3030));
    EXPECT_FALSE(ControlTable::HandlesCommand(3031));
    EXPECT_FALSE(ControlTable::HandlesCommand(1));  // IDOK
    // On a page of 32 controls, line 0 gets 3031.
    std::string text = "[INFO]\nTOTAL=32\n";
    for (int i = 0; i < 32; ++i) text += Line(i, i < 15 ? "BUTTON" : (i < 30 ? "TEXT" : "RECT"), i);
    Loaded page;
    Load(text, page);
    ASSERT_EQ(page.table.Size(), 32u);
    EXPECT_EQ(page.table.At(0).id, 3031);
    EXPECT_FALSE(ControlTable::HandlesCommand(page.table.At(0).id));
    EXPECT_TRUE(ControlTable::HandlesCommand(page.table.At(1).id));
}

TEST(SkinControlTable, AtMostFifteenOfOneKind) {
    std::string text = "[INFO]\nTOTAL=20\n";
    for (int i = 0; i < 20; ++i) text += Line(i, "BUTTON", i);
    text += "[DADOS]\n";
    for (int i = 0; i < 20; ++i) text += Named(i, "B" + std::to_string(i));
    Loaded page;
    Load(text, page);
    ASSERT_EQ(page.table.Size(), 15u);
    // Created from the last line: lines 19..5 fit, lines 4..0 are ignored.
    EXPECT_EQ(page.table.At(0).lineKey, 5);
    EXPECT_EQ(page.table.At(0).Entry(0), "B5");
    EXPECT_EQ(page.table.At(14).lineKey, 19);
    EXPECT_EQ(page.table.NextId(), 3015);
    EXPECT_EQ(page.factory.created.size(), 15u);
}

TEST(SkinControlTable, BitmapAndHoverShareFifteen) {
    std::string text = "[INFO]\nTOTAL=21\n";
    for (int i = 0; i < 20; ++i) text += Line(i, i % 2 ? "HOVER" : "BITMAP", i);
    text += Line(20, "ICON", 20);
    Loaded page;
    Load(text, page);
    // The icon and fifteen pictures.
    ASSERT_EQ(page.table.Size(), 16u);
    EXPECT_EQ(page.table.At(0).lineKey, 5);
    EXPECT_EQ(page.table.At(15).keyword, "ICON");
}

TEST(SkinControlTable, AtMostSeventyControls) {
    const char* kinds[] = {"BUTTON", "TEXT", "RECT", "RADIO", "CHECKBOX", "FRAME"};
    std::string text = "[INFO]\nTOTAL=90\n";
    for (int i = 0; i < 90; ++i) text += Line(i, kinds[i % 6], i);
    Loaded page;
    Load(text, page);
    ASSERT_EQ(page.table.Size(), static_cast<size_t>(kMaxControls));
    EXPECT_EQ(page.table.At(0).lineKey, 20);
    EXPECT_EQ(page.table.At(0).id, 3069);
    EXPECT_TRUE(page.table.Full());
    EXPECT_EQ(page.table.Add(ControlKind::kFrame, Rect{}), nullptr);
}

TEST(SkinControlTable, UnknownKindsCreateNothingAndReadNoEntries) {
    Loaded page;
    Load("[INFO]\nTOTAL=4\n0=garbage\n1=,,,,,Button,,,5\n2=" + std::string(254, 'x') + "\n" +
             Line(3, "TEXT", 6) + "[DADOS]\n" + Named(5, "IDC_IGNORED") + Named(6, "IDC_KEPT"),
         page);
    ASSERT_EQ(page.table.Size(), 1u);
    EXPECT_EQ(page.table.At(0).id, 3000);
    EXPECT_EQ(page.table.At(0).Entry(0), "IDC_KEPT");
}

TEST(SkinControlTable, LoadingClearsTheTableAndFactoryMayResize) {
    Loaded page;
    page.factory.grow = 5;
    Load("[INFO]\nTOTAL=1\n" + Line(0, "BITMAP", 1, 40, 40), page);
    Load("[INFO]\nTOTAL=1\n" + Line(0, "BITMAP", 1, 40, 40), page);
    ASSERT_EQ(page.table.Size(), 1u);
    EXPECT_EQ(page.table.At(0).id, 3000);
    EXPECT_EQ(page.table.At(0).name, "IDB_BITMAP1");
    EXPECT_EQ(page.table.At(0).rect.Width(), 45);
}

TEST(SkinControlTable, TenThousandLinesAndHugeTotalStayQuick) {
    std::string text = "[INFO]\nTOTAL=2000000000\n";
    for (int i = 0; i < 10000; ++i) text += Line(i, i % 3 ? "TEXT" : "garbage", i);
    auto start = std::chrono::steady_clock::now();
    Loaded page;
    Load(text, page);
    auto elapsed = std::chrono::steady_clock::now() - start;
    EXPECT_EQ(page.table.Size(), 15u);  // the TEXT table is full
    EXPECT_EQ(page.table.At(14).lineKey, 9998);  // 9999 is a garbage line
    EXPECT_LT(std::chrono::duration_cast<std::chrono::milliseconds>(elapsed).count(), 5000);
}

TEST(SkinWindowPlacement, CentredWithCaptionRule) {
    Placement p = PlaceWindow("0", "500", "400", 19, 1024, 768);
    ASSERT_TRUE(p.move);
    EXPECT_EQ(p.left, 262);
    EXPECT_EQ(p.top, 187);
    EXPECT_EQ(p.width, 500);
    EXPECT_EQ(p.height, 394);
    // A caption of 25 or more keeps the written height.
    p = PlaceWindow("0", "500", "400", 25, 1024, 768);
    EXPECT_EQ(p.height, 400);
    EXPECT_EQ(p.top, 184);
    EXPECT_EQ(PlaceWindow("0", "500", "400", 24, 1024, 768).height, 399);
}

TEST(SkinWindowPlacement, Corners) {
    Placement p = PlaceWindow("2", "300", "200", 19, 1024, 768);
    EXPECT_TRUE(p.move);
    EXPECT_EQ(p.left, 0);
    EXPECT_EQ(p.top, 0);
    p = PlaceWindow("3", "300", "200", 19, 1024, 768);
    EXPECT_EQ(p.left, 724);
    EXPECT_EQ(p.top, 0);
    p = PlaceWindow("4", "300", "200", 19, 1024, 768);
    EXPECT_EQ(p.left, 0);
    EXPECT_EQ(p.top, 768 - 194 - 35);
    p = PlaceWindow("5", "300", "200", 19, 1024, 768);
    EXPECT_EQ(p.left, 724);
    EXPECT_EQ(p.top, 768 - 194 - 35);
    // Only the first two characters count.
    EXPECT_TRUE(PlaceWindow("05 - bottom right", "300", "200", 19, 1024, 768).move);
    EXPECT_EQ(PlaceWindow("025", "300", "200", 19, 1024, 768).left, 0);
}

TEST(SkinWindowPlacement, OtherValuesLeaveTheWindow) {
    EXPECT_FALSE(PlaceWindow("1", "300", "200", 19, 1024, 768).move);
    EXPECT_FALSE(PlaceWindow("9", "300", "200", 19, 1024, 768).move);
    EXPECT_FALSE(PlaceWindow("52", "300", "200", 19, 1024, 768).move);
    EXPECT_FALSE(PlaceWindow("-2", "300", "200", 19, 1024, 768).move);
    // Empty reads as 0: centred.
    EXPECT_TRUE(PlaceWindow("", "300", "200", 19, 1024, 768).move);
    Placement huge = PlaceWindow("0", "99999999999", "-99999999999", 19, 1024, 768);
    EXPECT_TRUE(huge.move);
    EXPECT_LE(huge.width, 1000000);
}

TEST(SkinWindowPlacement, FirstAndLastPages) {
    EXPECT_TRUE(IsFirstPage(0, 5));
    EXPECT_FALSE(IsFirstPage(1, 5));
    EXPECT_FALSE(IsFirstPage(-1, 50));
    EXPECT_TRUE(IsLastPage(4, 5));
    EXPECT_TRUE(IsLastPage(5, 5));  // the complete page after a cancel
    EXPECT_FALSE(IsLastPage(3, 5));
    EXPECT_FALSE(IsLastPage(-1, 50));
}

// At 150 % (144 dots per inch) every rectangle and the page grow by half,
// rounded to the nearest pixel; a value beyond the limit stays at it.
TEST(SkinControlTable, RectanglesAndThePageScaleWithTheScreensDotsPerInch) {
    Loaded page;
    Load("[INFO]\nTOTAL=1\n" + Line(0, "BUTTON", 1, 75, 23), page, 144);
    ASSERT_EQ(page.table.Size(), 1u);
    EXPECT_EQ(page.table.At(0).rect, (Rect{15, 30, 15 + 113, 30 + 35})) << page.table.At(0).rect.right;
    EXPECT_EQ(ScaleForDpi(-3, 144), -5);
    EXPECT_EQ(ScaleForDpi(999999, 192), 1000000);
    EXPECT_EQ(ScaleForDpi(10, 0), 10);
    const Placement p = PlaceWindow("0", "503", "385", 30, 1920, 1080, 144);
    EXPECT_EQ(p.width, 755);
    EXPECT_EQ(p.height, 578);
    EXPECT_EQ(p.left, 1920 / 2 - 755 / 2);
}

}  // namespace
