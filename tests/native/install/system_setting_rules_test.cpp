// The text rules of INI entries, registry values and environment variables.
#include "install/shared/SystemSettingRules.h"

#include <gtest/gtest.h>

namespace {

using namespace install::systemrules;

TEST(SystemSettingRules, IniTreePathsSplitIntoFileSectionAndKey) {
    EXPECT_EQ(IniFileName("INI Files\\app.ini\\"), "app.ini");
    const auto parts = SplitIniEntryPath("INI Files\\app.ini\\Main\\Deep\\Key\\");
    ASSERT_TRUE(parts);
    EXPECT_EQ(parts->file, "app.ini");
    EXPECT_EQ(parts->section, "Main");
    EXPECT_EQ(parts->key, "Deep\\Key");
    EXPECT_FALSE(SplitIniEntryPath("INI Files\\app.ini"));
    EXPECT_FALSE(SplitIniEntryPath("INI Files\\app.ini\\\\Key"));
}

TEST(SystemSettingRules, DoubleWordsReadTheirLeadingNumber) {
    EXPECT_EQ(ParseDoubleWord("abc"), 0u);
    EXPECT_EQ(ParseDoubleWord(" 12ab"), 12u);
    EXPECT_EQ(ParseDoubleWord("-1"), 0xFFFFFFFFu);
    EXPECT_EQ(ParseDoubleWord("4294967295"), 0xFFFFFFFFu);
    EXPECT_EQ(ParseDoubleWord("99999999999999999999999"), 0xFFFFFFFFu);  // stops, never wraps
    EXPECT_EQ(ParseDoubleWord("-99999999999999999999999"), 0x80000000u);
    EXPECT_EQ(ParseValueType("1"), ValueType::DWord);
    EXPECT_EQ(ParseValueType("Binary"), ValueType::Binary);
    EXPECT_FALSE(ParseValueType("string"));
}

TEST(SystemSettingRules, AppendingAddsAnItemOnce) {
    EXPECT_EQ(AppendItem("", "C:\\App"), ";C:\\App");
    EXPECT_EQ(AppendItem("C:\\Windows", "C:\\App"), "C:\\Windows;C:\\App");
    EXPECT_FALSE(AppendItem("C:\\Windows;c:\\app;D:\\x", "C:\\App"));
    EXPECT_FALSE(AppendItem("C:\\Windows;C:\\App", "c:\\APP"));
    EXPECT_EQ(AppendItem("C:\\App2", "C:\\App"), "C:\\App2;C:\\App");  // items, not text
}

TEST(SystemSettingRules, RemovingTakesOutTheAppendedItemOnly) {
    EXPECT_EQ(RemoveItem("C:\\Windows;C:\\App", "c:\\app"), "C:\\Windows");
    EXPECT_EQ(RemoveItem(";C:\\App", "C:\\App"), "");  // the append made the variable
    EXPECT_EQ(RemoveItem("a;x;b;x", "x"), "a;x;b");        // the last one: the one appended
    EXPECT_EQ(RemoveItem("a;;x;b", "x"), "a;;b");          // other empty items stay
    EXPECT_FALSE(RemoveItem("C:\\App2", "C:\\App"));
}

}  // namespace
