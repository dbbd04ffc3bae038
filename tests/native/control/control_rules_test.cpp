// Value rules of the settings and the operating-system name, without Windows.
#include <gtest/gtest.h>

#include "control/OsName.h"
#include "core/SettingsRules.h"
#include "util/Text.h"

namespace {

TEST(SettingsRules, YesAndNotNoCompareExactly) {
    EXPECT_TRUE(core::settings::IsYes("Yes"));
    for (const char* v : {"yes", "YES", "Yes ", " Yes", "", "1", "True"})
        EXPECT_FALSE(core::settings::IsYes(v)) << v;
    EXPECT_FALSE(core::settings::IsNotNo("No"));
    for (const char* v : {"no", "NO", "", "No ", "Yes"}) EXPECT_TRUE(core::settings::IsNotNo(v)) << v;
}

TEST(SettingsRules, NumbersReadLeadingDigitsWithSign) {
    EXPECT_EQ(core::settings::ParseNumber("255abc"), 255);
    EXPECT_EQ(core::settings::ParseNumber("0xFF"), 0);
    EXPECT_EQ(core::settings::ParseNumber(""), 0);
    EXPECT_EQ(core::settings::ParseNumber("abc"), 0);
    EXPECT_EQ(core::settings::ParseNumber("-7 MB"), -7);
    EXPECT_EQ(core::settings::ParseNumber("+12"), 12);
    EXPECT_EQ(core::settings::ParseNumber("  42"), 42);
    EXPECT_EQ(core::settings::ParseNumber("128 MB"), 128);
}

TEST(SettingsRules, HugeNumbersSaturateInsteadOfWrapping) {
    EXPECT_EQ(core::settings::ParseNumber("4294967296"), 2147483647);
    EXPECT_EQ(core::settings::ParseNumber(std::string(5000, '9').c_str()), 2147483647);
    EXPECT_EQ(core::settings::ParseNumber("-99999999999"), -2147483647 - 1);
}

TEST(SettingsRules, ListKeysAreLetterAndIndex) {
    EXPECT_EQ(core::settings::ListKey("A", 0), "A0");
    EXPECT_EQ(core::settings::ListKey("W", 12), "W12");
    EXPECT_EQ(core::settings::ListKey("FeatureName", 3), "FeatureName3");
}

control::OsVersionRecord V(uint32_t major, uint32_t minor, uint32_t build, uint32_t platform) {
    control::OsVersionRecord v;
    v.major = major; v.minor = minor; v.build = build; v.platform = platform;
    return v;
}

TEST(OsName, NamesFromVersionRecords) {
    EXPECT_STREQ(control::OsNameFromVersion(V(4, 10, 1998, 1)), "98");
    EXPECT_STREQ(control::OsNameFromVersion(V(4, 10, 2222, 1)), "98SE");
    EXPECT_STREQ(control::OsNameFromVersion(V(4, 90, 3000, 1)), "ME");
    EXPECT_STREQ(control::OsNameFromVersion(V(4, 0, 1381, 2)), "NT4");
    EXPECT_STREQ(control::OsNameFromVersion(V(4, 0, 950, 1)), "NT4");  // any platform
    EXPECT_STREQ(control::OsNameFromVersion(V(5, 0, 2195, 2)), "2000");
    EXPECT_STREQ(control::OsNameFromVersion(V(5, 1, 2600, 2)), "XP");
    EXPECT_STREQ(control::OsNameFromVersion(V(5, 2, 3790, 2)), "NET");
    // NT systems after 5.2 have no name of their own and count as the newest, "NET".
    EXPECT_STREQ(control::OsNameFromVersion(V(6, 0, 6002, 2)), "NET");
    EXPECT_STREQ(control::OsNameFromVersion(V(6, 1, 7601, 2)), "NET");
    EXPECT_STREQ(control::OsNameFromVersion(V(10, 0, 19045, 2)), "NET");
    EXPECT_STREQ(control::OsNameFromVersion(V(6, 1, 7601, 1)), "");
    EXPECT_STREQ(control::OsNameFromVersion(V(3, 51, 1057, 2)), "");
    // The trace shows the version the name stands for.
    EXPECT_EQ(control::OsNameWithVersion(V(6, 1, 0x1DB11DB1, 2)), "NET (6.1.7601)");
    EXPECT_EQ(control::OsNameWithVersion(V(5, 1, 2600, 2)), "XP (5.1.2600)");
    EXPECT_EQ(control::OsNameWithVersion(V(3, 51, 1057, 2)), "unnamed (3.51.1057)");
}

TEST(OsName, BoundaryBuildsAndPlatforms) {
    // Builds 2183 and 2184 of 4.10 are both "98SE" (the later rule wins).
    EXPECT_STREQ(control::OsNameFromVersion(V(4, 10, 2183, 1)), "98SE");
    EXPECT_STREQ(control::OsNameFromVersion(V(4, 10, 2184, 1)), "98SE");
    EXPECT_STREQ(control::OsNameFromVersion(V(4, 10, 2182, 1)), "98");
    // Only the low 16 bits of the build count.
    EXPECT_STREQ(control::OsNameFromVersion(V(4, 10, 0x04000000u | 1998u, 1)), "98");
    // XP and NET need the NT platform.
    EXPECT_STREQ(control::OsNameFromVersion(V(5, 1, 2600, 1)), "");
    EXPECT_STREQ(control::OsNameFromVersion(V(5, 2, 3790, 1)), "");
}

TEST(Text, CopyTruncatedAlwaysTerminates) {
    char buf[5];
    EXPECT_STREQ(util::text::CopyTruncated(buf, sizeof buf, "abcdefgh"), "abcd");
    EXPECT_STREQ(util::text::CopyTruncated(buf, sizeof buf, "ab"), "ab");
    EXPECT_STREQ(util::text::CopyTruncated(buf, sizeof buf, nullptr), "");
}

TEST(Text, ReplaceAllScansLeftToRightWithoutRescanning) {
    EXPECT_EQ(util::text::ReplaceAll("^!a^!b", "^!", ""), "ab");
    EXPECT_EQ(util::text::ReplaceAll("aaa", "aa", "a"), "aa");
    EXPECT_EQ(util::text::ReplaceAll("x<A>y", "<A>", "<A><A>"), "x<A><A>y");
    EXPECT_EQ(util::text::ReplaceAll("abc", "", "z"), "abc");
    EXPECT_EQ(util::text::WithTrailingBackslash(""), "\\");
    EXPECT_EQ(util::text::WithTrailingBackslash("C:\\A\\"), "C:\\A\\");
}

}  // namespace

#include "util/ProgressThrottle.h"

namespace {

TEST(ProgressThrottle, MovesAtMostOncePerIntervalButAlwaysShowsTheEnds) {
    util::ProgressThrottle t(40);
    t.SetRange(100);
    EXPECT_TRUE(t.Due(0, 1000));
    EXPECT_FALSE(t.Due(1, 1001));
    EXPECT_FALSE(t.Due(2, 1010));
    EXPECT_FALSE(t.Due(3, 1039));
    EXPECT_TRUE(t.Due(4, 1040));  // a whole interval later
    EXPECT_FALSE(t.Due(5, 1050));
    EXPECT_TRUE(t.Due(100, 1051));  // the end is always shown
    EXPECT_TRUE(t.Due(0, 1052));    // and so is a restart
}

TEST(ProgressThrottle, SurvivesTheClockWrapping) {
    util::ProgressThrottle t(40);
    t.SetRange(10);
    EXPECT_TRUE(t.Due(1, 0xFFFFFFF0u));
    EXPECT_FALSE(t.Due(2, 0xFFFFFFFFu));
    EXPECT_TRUE(t.Due(3, 0x00000030u));
}

}  // namespace
