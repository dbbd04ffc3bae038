// Reading layout files: window settings, control lines, property entries,
// counts, the table limits and files that are missing or hostile.
#include <gtest/gtest.h>

#include <chrono>

#include "skin/LayoutFile.h"
#include "skin/MemoryIniSource.h"

using namespace skin::layout;

namespace {

const char kPath[] = "C:\\Setup\\theme\\welcome.lcd";

const char kWelcome[] =
    "[MAINWINDOW]\r\n"
    "idcname=IDD_WELCOME\r\n"
    "caption=Welcome to <ProductName>\r\n"
    "bkcolor=255,255,255\r\n"
    "border=1\r\n"
    "bkimage={back.bmp}\r\n"
    "soundfile={ding}.wav\r\n"
    "startup=05\r\n"
    "minwindow=Yes\r\n"
    "maxwindow=No\r\n"
    "closewindow=Yes\r\n"
    "width=500\r\n"
    "height=400\r\n"
    "fontname=Tahoma\r\n"
    "fontsize=8\r\n"
    "[INFO]\r\n"
    "TOTAL=3\r\n"
    "0=IDC_NEXT,400,350,80,22,BUTTON,,x,3000\r\n"
    "1=pic,0,0,10,10,BITMAP,{side}.bmp,x,3001\r\n"
    "2=t,10,10,200,40,TEXT,,x,3002\r\n"
    "[DADOS]\r\n"
    "3000,t=3\r\n"
    "3000,0=Name|IDC_NEXT|0\r\n"
    "3000,1=Caption|&Next >|0\r\n"
    "3000,2=On Click|1-Next Dialog|5\r\n"
    "3002,t=2\r\n"
    "3002,0=Name|IDC_TITLE|0\r\n"
    "3002,1=Caption|{note}.txt|0\r\n";

TEST(SkinLayoutFile, WindowSettingsByIndex) {
    skin::MemoryIniSource ini(kWelcome);
    LayoutFile file(ini, kPath);
    WindowSettings w = file.ReadWindow();
    EXPECT_EQ(w.properties[kIdcName], "IDD_WELCOME");
    EXPECT_EQ(w.properties[kCaption], "Welcome to <ProductName>");
    EXPECT_EQ(w.properties[kBkColor], "255,255,255");
    EXPECT_EQ(w.properties[kBorder], "1");
    EXPECT_EQ(w.properties[kBkImage], "back.bmp");  // braces removed, no folder added
    EXPECT_EQ(w.properties[kSoundFile], "ding.wav");
    EXPECT_EQ(w.properties[kStartup], "05");
    EXPECT_EQ(w.properties[kMinWindow], "Yes");
    EXPECT_EQ(w.properties[kMaxWindow], "No");
    EXPECT_EQ(w.properties[kCloseWindow], "Yes");
    EXPECT_EQ(w.width, "500");
    EXPECT_EQ(w.height, "400");
    EXPECT_EQ(w.fontName, "Tahoma");
    EXPECT_EQ(w.fontSize, "8");
    // Absent font flags read empty: bold and italic are on unless "No".
    EXPECT_EQ(w.fontBold, "");
    EXPECT_TRUE(IsNotNo(w.fontBold));
    EXPECT_TRUE(IsNotNo(w.fontItalic));
    EXPECT_STREQ(WindowPropertyKey(kCloseWindow), "closewindow");
    EXPECT_STREQ(WindowPropertyKey(10), "");
}

TEST(SkinLayoutFile, KeysAreCaseInsensitiveAndValuesCutToBuffer) {
    skin::MemoryIniSource ini("[mainwindow]\nCAPTION = \"" + std::string(300, 'c') + "\"\n[info]\ntotal=" +
                        std::string(150, '7') + "\n");
    LayoutFile file(ini, kPath);
    EXPECT_EQ(file.ReadWindow().properties[kCaption], std::string(254, 'c'));
    // TOTAL is read into 100 bytes: 99 digits, which saturate.
    EXPECT_EQ(file.ControlCount(), 2147483647);
}

TEST(SkinLayoutFile, ControlLinesAndTheirFields) {
    skin::MemoryIniSource ini(kWelcome);
    LayoutFile file(ini, kPath);
    EXPECT_EQ(file.ControlCount(), 3);
    EXPECT_EQ(file.LineKeysLastFirst(), (std::vector<int>{2, 1, 0}));
    ControlLine line = file.ReadControlLine(0);
    EXPECT_EQ(line.key, 0);
    EXPECT_EQ(line.Left(), 400);
    EXPECT_EQ(line.Top(), 350);
    EXPECT_EQ(line.Width(), 80);
    EXPECT_EQ(line.Height(), 22);
    EXPECT_EQ(line.Kind(), "BUTTON");
    EXPECT_EQ(line.ControlNumber(), 3000);
    EXPECT_EQ(file.ImageFile(file.ReadControlLine(1)), "C:\\Setup\\theme\\side.bmp");
    // A short line reads its missing fields as empty.
    EXPECT_EQ(file.ReadControlLine(7).Kind(), "");
    EXPECT_EQ(file.ReadControlLine(7).ControlNumber(), 0);
}

TEST(SkinLayoutFile, PropertyEntriesInOrder) {
    skin::MemoryIniSource ini(kWelcome);
    LayoutFile file(ini, kPath);
    std::vector<PropertyEntry> e = file.ReadEntries(3000);
    ASSERT_EQ(e.size(), 3u);
    EXPECT_EQ(e[0].name, "Name");
    EXPECT_EQ(e[0].value, "IDC_NEXT");
    EXPECT_EQ(e[1].value, "&Next >");
    EXPECT_EQ(e[2].name, "On Click");
    EXPECT_EQ(e[2].type, 5);
    EXPECT_EQ(ClickCode(e), 1);
    e = file.ReadEntries(3002);
    ASSERT_EQ(e.size(), 2u);
    EXPECT_EQ(e[1].value, "C:\\Setup\\theme\\note.txt");
    EXPECT_TRUE(file.ReadEntries(3001).empty());  // no "3001,t"
}

TEST(SkinLayoutFile, EntryCountBeyondItsEntriesReadsEmptyEntries) {
    skin::MemoryIniSource ini("[DADOS]\n5,t=3\n5,0=Name|IDC_A|0\n");
    LayoutFile file(ini, kPath);
    std::vector<PropertyEntry> e = file.ReadEntries(5);
    ASSERT_EQ(e.size(), 3u);
    EXPECT_EQ(e[2].name, "");
    EXPECT_EQ(e[2].value, "");
}

TEST(SkinLayoutFile, AtMostFifteenPropertyEntries) {
    std::string text = "[DADOS]\n7,t=2000000000\n";
    for (int i = 0; i < 20; ++i) text += "7," + std::to_string(i) + "=P" + std::to_string(i) + "|v|0\n";
    skin::MemoryIniSource ini(text);
    LayoutFile file(ini, kPath);
    std::vector<PropertyEntry> e = file.ReadEntries(7);
    ASSERT_EQ(e.size(), kMaxPropertyEntries);
    EXPECT_EQ(e[14].name, "P14");
    // Negative counts read nothing.
    skin::MemoryIniSource negative("[DADOS]\n7,t=-3\n7,0=a|b|0\n");
    EXPECT_TRUE(LayoutFile(negative, kPath).ReadEntries(7).empty());
}

TEST(SkinLayoutFile, MissingFileReadsEmpty) {
    skin::MemoryIniSource ini("");
    LayoutFile file(ini, kPath);
    WindowSettings w = file.ReadWindow();
    for (const std::string& p : w.properties) EXPECT_EQ(p, "");
    EXPECT_EQ(file.ControlCount(), 0);
    EXPECT_TRUE(file.LineKeysLastFirst().empty());
    EXPECT_TRUE(file.ReadEntries(3000).empty());
}

TEST(SkinLayoutFile, TotalZeroOrNegativeListsNoLines) {
    skin::MemoryIniSource zero("[INFO]\nTOTAL=0\n0=a,1,1,50,50,TEXT,,x,1\n");
    EXPECT_TRUE(LayoutFile(zero, kPath).LineKeysLastFirst().empty());
    skin::MemoryIniSource negative("[INFO]\nTOTAL=-4\n0=a,1,1,50,50,TEXT,,x,1\n");
    EXPECT_TRUE(LayoutFile(negative, kPath).LineKeysLastFirst().empty());
    skin::MemoryIniSource text("[INFO]\nTOTAL=many\n0=a,1,1,50,50,TEXT,,x,1\n");
    EXPECT_TRUE(LayoutFile(text, kPath).LineKeysLastFirst().empty());
}

TEST(SkinLayoutFile, HugeTotalListsOnlyPresentLinesQuickly) {
    skin::MemoryIniSource ini(
        "[INFO]\nTOTAL=2000000000\n0=a\n3=b\n007=padded\n-1=neg\n+2=sign\nfoo=bar\n"
        "1999999999=last\n2000000000=beyond\n99999999999=way beyond\n3=again\n");
    auto start = std::chrono::steady_clock::now();
    std::vector<int> keys = LayoutFile(ini, kPath).LineKeysLastFirst();
    auto elapsed = std::chrono::steady_clock::now() - start;
    EXPECT_EQ(keys, (std::vector<int>{1999999999, 3, 0}));
    EXPECT_LT(std::chrono::duration_cast<std::chrono::milliseconds>(elapsed).count(), 1000);
}

TEST(SkinLayoutFile, LinesBeyondTotalAreNotListed) {
    skin::MemoryIniSource ini("[INFO]\nTOTAL=2\n0=a\n1=b\n2=c\n");
    EXPECT_EQ(LayoutFile(ini, kPath).LineKeysLastFirst(), (std::vector<int>{1, 0}));
}

TEST(SkinLayoutFile, FirstPropertyValueUsesControlNumberKeys) {
    skin::MemoryIniSource ini(
        "[INFO]\nTOTAL=11\n[DADOS]\n3000,0=Name|IDC_NEXT|0\n3009,0=Name|IDC_NINE|0\n"
        "3010,0=Name|IDC_TEN|0\n30010,0=Name|WRONG|0\n3001,0=no bars\n3002,0=Name|open\n");
    LayoutFile file(ini, kPath);
    EXPECT_EQ(file.ControlCount(), 11);
    EXPECT_EQ(file.FirstPropertyValue(0), "IDC_NEXT");
    EXPECT_EQ(file.FirstPropertyValue(9), "IDC_NINE");
    EXPECT_EQ(file.FirstPropertyValue(10), "IDC_TEN");
    EXPECT_EQ(file.FirstPropertyValue(1), "");
    EXPECT_EQ(file.FirstPropertyValue(2), "open");
    EXPECT_EQ(file.FirstPropertyValue(5), "");
}

TEST(SkinMemoryIniSource, FollowsProfileRules) {
    skin::MemoryIniSource ini(
        "; comment\r\n[Sec]\r\n  Key  =  spaced  \r\nkey=second\r\nq='quoted'\r\nnoequals\r\n"
        "[sec]\r\nother=x\r\n");
    EXPECT_EQ(ini.Read("SEC", "KEY", 255), "spaced");  // the first key of a name wins
    EXPECT_EQ(ini.Read("sec", "q", 255), "quoted");
    EXPECT_EQ(ini.Read("sec", "other", 255), "");      // the first section of a name wins
    EXPECT_EQ(ini.Read("sec", "spaced", 4), "");
    EXPECT_EQ(ini.Read("sec", "key", 4), "spa");
    EXPECT_EQ(ini.KeyNames("SEC"), (std::vector<std::string>{"Key", "key", "q"}));
    EXPECT_TRUE(ini.KeyNames("none").empty());
}

}  // namespace
