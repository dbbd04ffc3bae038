// Layout value syntaxes: numbers, control line fields, property entries with
// file names in braces, click codes, alignment codes and colours.
#include <gtest/gtest.h>

#include "skin/ColorText.h"
#include "skin/LayoutValues.h"

using namespace skin::layout;

namespace {

const char kFolder[] = "C:\\Setup\\theme\\";

TEST(SkinLayoutValues, NumbersReadLeadingDigitsAndSaturate) {
    EXPECT_EQ(Number("42"), 42);
    EXPECT_EQ(Number("  17px"), 17);
    EXPECT_EQ(Number("-5"), -5);
    EXPECT_EQ(Number("abc"), 0);
    EXPECT_EQ(Number(""), 0);
    EXPECT_EQ(Number("99999999999999999999"), 2147483647);
    EXPECT_EQ(Number("-99999999999999999999"), -2147483647 - 1);
}

TEST(SkinLayoutValues, ControlLineFieldsSplitAtEveryComma) {
    std::vector<std::string> f = SplitFields("x,10, 20,,40,TEXT,{a.bmp},y,3001");
    ASSERT_EQ(f.size(), 9u);
    EXPECT_EQ(f[0], "x");
    EXPECT_EQ(f[2], " 20");  // spaces are kept
    EXPECT_EQ(f[3], "");     // empty fields are kept in place
    EXPECT_EQ(f[5], "TEXT");
    EXPECT_EQ(f[6], "{a.bmp}");
    EXPECT_EQ(f[8], "3001");
    EXPECT_EQ(SplitFields("").size(), 1u);
    EXPECT_EQ(SplitFields("a,").back(), "");
}

TEST(SkinLayoutValues, ControlLineKeepsAtMostTwentyFields) {
    std::string line;
    for (int i = 0; i < 1000; ++i) line += std::to_string(i) + ",";
    std::vector<std::string> f = SplitFields(line);
    ASSERT_EQ(f.size(), kMaxControlFields);
    EXPECT_EQ(f[19], "19");
    EXPECT_EQ(SplitFields(std::string(100000, ',')).size(), kMaxControlFields);
}

TEST(SkinLayoutValues, PropertyEntrySplitsNameValueAndType) {
    PropertyEntry e = SplitPropertyEntry("Caption|Next >|0", kFolder);
    EXPECT_EQ(e.name, "Caption");
    EXPECT_EQ(e.value, "Next >");
    EXPECT_EQ(e.type, 0);

    e = SplitPropertyEntry("Font Size|10|1|2|", kFolder);  // further "|" removed from the type
    EXPECT_EQ(e.value, "10");
    EXPECT_EQ(e.type, 12);

    e = SplitPropertyEntry("IDC_NEXT", kFolder);  // no "|": empty value
    EXPECT_EQ(e.name, "IDC_NEXT");
    EXPECT_EQ(e.value, "");
    EXPECT_EQ(e.type, 0);

    e = SplitPropertyEntry("Caption||3", kFolder);
    EXPECT_EQ(e.value, "");
    EXPECT_EQ(e.type, 3);

    e = SplitPropertyEntry("Name|only one bar", kFolder);
    EXPECT_EQ(e.value, "only one bar");

    e = SplitPropertyEntry("|v|x", kFolder);
    EXPECT_EQ(e.name, "");
    EXPECT_EQ(e.type, 0);  // non-numeric type
}

TEST(SkinLayoutValues, PropertyValueInBracesNamesFileInLayoutFolder) {
    EXPECT_EQ(SplitPropertyEntry("Icon File:|{setup.ico}|0", kFolder).value,
              "C:\\Setup\\theme\\setup.ico");
    // Every brace goes, wherever it is.
    EXPECT_EQ(SplitPropertyEntry("Picture|{sub}\\{x}.bmp|0", kFolder).value,
              "C:\\Setup\\theme\\sub\\x.bmp");
    // A value without "{" is not changed, even with "}".
    EXPECT_EQ(SplitPropertyEntry("Caption|a}b|0", kFolder).value, "a}b");
    EXPECT_EQ(FolderOf("C:\\Setup\\theme\\welcome.lcd"), "C:\\Setup\\theme\\");
    EXPECT_EQ(FolderOf("Z:/tmp/x/welcome.lcd"), "Z:/tmp/x/");
    EXPECT_EQ(FolderOf("welcome.lcd"), "");
}

TEST(SkinLayoutValues, ClickCodeFromLastClickEntry) {
    auto entry = [](const char* n, const char* v) { return PropertyEntry{n, v, 0}; };
    EXPECT_EQ(ClickCode({entry("IDC_X", ""), entry("On Click", "1-Next Dialog")}), 1);
    EXPECT_EQ(ClickCode({entry("Mouse Click", "2-Previous Dialog")}), 2);
    EXPECT_EQ(ClickCode({entry("On Click", "[Do Nothing]")}), 0);
    EXPECT_EQ(ClickCode({entry("On Click", "7")}), 0);  // no "-": code 0
    // The last click entry counts.
    EXPECT_EQ(ClickCode({entry("On Click", "1-Next"), entry("Mouse Click", "2-Back")}), 2);
    // An empty value ends the search without action.
    EXPECT_EQ(ClickCode({entry("On Click", "1-Next"), entry("On Click", ""),
                         entry("On Click", "2-Back")}),
              0);
    // Names are compared exactly.
    EXPECT_EQ(ClickCode({entry("on click", "1-Next"), entry("OnClick", "1-Next")}), 0);
    EXPECT_EQ(ClickCode({}), 0);
}

TEST(SkinLayoutValues, AlignmentCodesBecomeWords) {
    EXPECT_EQ(AlignmentWord("0"), "Center");
    EXPECT_EQ(AlignmentWord("1 - Left"), "Left");
    EXPECT_EQ(AlignmentWord("2Right"), "Right");
    EXPECT_EQ(AlignmentWord("3"), "");
    EXPECT_EQ(AlignmentWord(""), "");
    EXPECT_EQ(AlignmentWord("Left"), "");
}

TEST(SkinLayoutValues, YesNoFlagsAreExact) {
    EXPECT_TRUE(IsYes("Yes"));
    EXPECT_FALSE(IsYes("yes"));
    EXPECT_FALSE(IsYes(""));
    EXPECT_TRUE(IsNotNo(""));
    EXPECT_TRUE(IsNotNo("no"));
    EXPECT_FALSE(IsNotNo("No"));
}

TEST(SkinColorText, ThreePartsWithMissingCommas) {
    EXPECT_EQ(ParseColor("255,128,7"), (Rgb{255, 128, 7}));
    EXPECT_EQ(ParseColor("30"), (Rgb{0, 0, 30}));       // no comma: blue alone
    EXPECT_EQ(ParseColor("10,20"), (Rgb{10, 0, 20}));   // one comma: red and blue
    EXPECT_EQ(ParseColor(",,5"), (Rgb{0, 0, 5}));
    EXPECT_EQ(ParseColor("1,2,3,4"), (Rgb{1, 2, 3}));   // the rest is blue, read to its first non-digit
    EXPECT_EQ(ParseColor("red,green,blue"), (Rgb{0, 0, 0}));
    EXPECT_EQ(ParseColor("12px,34,56px"), (Rgb{12, 34, 56}));
    EXPECT_EQ(ParseColor("999,-4,99999999999"), (Rgb{255, 0, 255}));  // kept within 0..255
}

TEST(SkinColorText, ButtonFaceIsWrittenBackAsNumbers) {
    const Rgb face{212, 208, 200};
    EXPECT_EQ(FormatColor(face), "212,208,200");
    EXPECT_EQ(ResolveBackground("", face), "212,208,200");
    EXPECT_EQ(ResolveBackground("COLOR_BTNFACE", face), "212,208,200");
    EXPECT_EQ(ResolveBackground("color_btnface", face), "color_btnface");
    EXPECT_EQ(ResolveBackground("1,2,3", face), "1,2,3");
    EXPECT_EQ(ResolveTextColor(""), "0,0,0");
    EXPECT_EQ(ResolveTextColor("255,0,0"), "255,0,0");
    EXPECT_TRUE(NamesButtonFace(""));
    EXPECT_FALSE(NamesButtonFace("0,0,0"));
}

}  // namespace
