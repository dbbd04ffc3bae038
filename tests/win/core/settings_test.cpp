// Settings reads through the real profile functions.
#include "core/Settings.h"

#include "TestFiles.h"

namespace {

class SettingsRead : public ::testing::Test {
protected:
    std::string Ini(const std::string& content) { return dir.Write("setup.inf", content); }
    ScratchFolder dir;
};

TEST_F(SettingsRead, SectionAndKeyMatchWithoutCaseValuesAsStored) {
    std::string ini = Ini("[AppInfo]\r\nA1=My Product\r\nLanguage = English \r\n");
    EXPECT_EQ(core::settings::Read(ini, "APPINFO", "a1"), "My Product");
    EXPECT_EQ(core::settings::Read(ini, "appinfo", "LANGUAGE"), "English");
}

TEST_F(SettingsRead, MissingFileSectionOrKeyReadsEmpty) {
    std::string ini = Ini("[APPINFO]\r\na1=x\r\n");
    EXPECT_EQ(core::settings::Read(dir.Path() + "absent.inf", "APPINFO", "a1"), "");
    EXPECT_EQ(core::settings::Read(ini, "OTHER", "a1"), "");
    EXPECT_EQ(core::settings::Read(ini, "APPINFO", "a2"), "");
}

TEST_F(SettingsRead, LongValuesAreCutToTheBuffer) {
    const std::string value(300, 'v');
    std::string ini = Ini("[APPINFO]\r\na1=" + value + "\r\n");
    EXPECT_EQ(core::settings::Read(ini, "APPINFO", "a1"), value.substr(0, 254));
    EXPECT_EQ(core::settings::Read(ini, "APPINFO", "a1", core::settings::kShortValueSize), value.substr(0, 99));
}

TEST_F(SettingsRead, ZeroPaddingAfterTheTextIsIgnored) {
    // Decrypted settings end with up to 15 zero bytes of cipher padding.
    std::string ini = Ini(std::string("[APPINFO]\r\na1=Padded\r\n") + std::string(13, '\0'));
    EXPECT_EQ(core::settings::Read(ini, "APPINFO", "a1"), "Padded");
}

TEST_F(SettingsRead, YesIsExactAndNotNoIsOnUnlessExactlyNo) {
    std::string ini = Ini("[S]\r\na=Yes\r\nb=yes\r\nc=YES\r\nd=No\r\ne=no\r\n");
    EXPECT_TRUE(core::settings::ReadYes(ini, "S", "a"));
    EXPECT_FALSE(core::settings::ReadYes(ini, "S", "b"));
    EXPECT_FALSE(core::settings::ReadYes(ini, "S", "c"));
    EXPECT_FALSE(core::settings::ReadYes(ini, "S", "missing"));
    EXPECT_FALSE(core::settings::ReadNotNo(ini, "S", "d"));
    EXPECT_TRUE(core::settings::ReadNotNo(ini, "S", "e"));
    EXPECT_TRUE(core::settings::ReadNotNo(ini, "S", "missing"));
}

TEST_F(SettingsRead, NumbersAreLeadingDecimalDigits) {
    std::string ini = Ini("[S]\r\na=255abc\r\nb=0xFF\r\nc=abc\r\nd=-12\r\ne=99999999999\r\n");
    EXPECT_EQ(core::settings::ReadNumber(ini, "S", "a"), 255);
    EXPECT_EQ(core::settings::ReadNumber(ini, "S", "b"), 0);
    EXPECT_EQ(core::settings::ReadNumber(ini, "S", "c"), 0);
    EXPECT_EQ(core::settings::ReadNumber(ini, "S", "d"), -12);
    EXPECT_EQ(core::settings::ReadNumber(ini, "S", "e"), 2147483647);
    EXPECT_EQ(core::settings::ReadNumber(ini, "S", "missing"), 0);
}

TEST_F(SettingsRead, ListsStopAtTheirTotal) {
    std::string ini = Ini("[L]\r\nTOTAL=3\r\nA0=x\r\nA1=y\r\nA2=z\r\nA3=beyond\r\n[N]\r\nTOTAL=-4\r\n");
    int n = core::settings::ReadListCount(ini, "L");
    ASSERT_EQ(n, 3);
    std::string joined;
    for (int i = 0; i < n; ++i) joined += core::settings::ReadListField(ini, "L", "A", i);
    EXPECT_EQ(joined, "xyz");
    EXPECT_EQ(core::settings::ReadListCount(ini, "N"), 0);
    EXPECT_EQ(core::settings::ReadListCount(ini, "MISSING"), 0);
}

TEST_F(SettingsRead, WrittenValuesAreSeenByTheNextRead) {
    std::string ini = Ini("[S]\r\na=old\r\n");
    EXPECT_EQ(core::settings::Read(ini, "S", "a"), "old");
    WritePrivateProfileStringA("S", "a", "new", ini.c_str());
    EXPECT_EQ(core::settings::Read(ini, "S", "a"), "new");
}

}  // namespace
