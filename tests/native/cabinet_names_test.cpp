// Names of extracted files: bare names, unsafe names, bounded joins.
#include <gtest/gtest.h>

#include "cabinet/CabinetNames.h"

namespace {

TEST(CabinetNames, BareNameIsTheTextAfterTheLastSeparator) {
    EXPECT_EQ(cabinet::BareName("sub\\deeper\\x.txt"), "x.txt");
    EXPECT_EQ(cabinet::BareName("a/b/c.txt"), "c.txt");
    EXPECT_EQ(cabinet::BareName("C:evil.txt"), "evil.txt");
    EXPECT_EQ(cabinet::BareName("..\\..\\evil.txt"), "evil.txt");
    EXPECT_EQ(cabinet::BareName("F0_app.exe"), "F0_app.exe");
    EXPECT_EQ(cabinet::BareName("dir\\"), "");
}

TEST(CabinetNames, UnsafeNamesAreRefused) {
    for (const char* ok : {"F0_app.exe", "a", "readme.", ".hidden", "a b.txt", "con1.txt", "COM0", "LPT10",
                           "nul_file", "\xe9t\xe9.txt"})
        EXPECT_TRUE(cabinet::IsSafeOutputName(ok)) << ok;
    for (const char* bad : {"", ".", "..", "...", " ", ". .", "a<b", "a>b", "a\"b", "a|b", "a?b", "a*b",
                            "a\tb", "CON", "con", "Con.txt", "NUL.tar.gz", "PRN", "AUX", "COM1", "lpt9.log",
                            "CONIN$", "conout$", "CON .txt"})
        EXPECT_FALSE(cabinet::IsSafeOutputName(bad)) << bad;
    EXPECT_EQ(cabinet::OutputName("x\\..\\.."), "");
    EXPECT_EQ(cabinet::OutputName("x\\.."), "");
    EXPECT_EQ(cabinet::OutputName("..\\ok.txt"), "ok.txt");
    EXPECT_EQ(cabinet::OutputName("sub\\"), "");
}

TEST(CabinetNames, JoinNeverOverflows) {
    char buf[8];
    EXPECT_TRUE(cabinet::JoinBounded(buf, sizeof buf, "abc", "defg"));
    EXPECT_STREQ(buf, "abcdefg");
    EXPECT_FALSE(cabinet::JoinBounded(buf, sizeof buf, "abc", "defgh"));
    EXPECT_STREQ(buf, "");
    EXPECT_FALSE(cabinet::JoinBounded(buf, sizeof buf, "abcdefgh", ""));
    EXPECT_TRUE(cabinet::JoinBounded(buf, sizeof buf, "", ""));
    EXPECT_FALSE(cabinet::JoinBounded(buf, 0, "", ""));
}

}  // namespace
