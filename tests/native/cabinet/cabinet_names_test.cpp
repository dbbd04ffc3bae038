// Names of extracted files: bare names, unsafe names, bounded joins.
#include <gtest/gtest.h>

#include "cabinet/CabinetNames.h"
#include "core/CodePage.h"

namespace {

constexpr unsigned kWestern = core::codepage::kWesternEuropean;

TEST(CabinetNames, BareNameIsTheTextAfterTheLastSeparator) {
    EXPECT_EQ(cabinet::BareName("sub\\deeper\\x.txt", kWestern), "x.txt");
    EXPECT_EQ(cabinet::BareName("a/b/c.txt", kWestern), "c.txt");
    EXPECT_EQ(cabinet::BareName("C:evil.txt", kWestern), "evil.txt");
    EXPECT_EQ(cabinet::BareName("..\\..\\evil.txt", kWestern), "evil.txt");
    EXPECT_EQ(cabinet::BareName("F0_app.exe", kWestern), "F0_app.exe");
    EXPECT_EQ(cabinet::BareName("dir\\", kWestern), "");
}

TEST(CabinetNames, UnsafeNamesAreRefused) {
    for (const char* ok : {"F0_app.exe", "a", "readme.", ".hidden", "a b.txt", "con1.txt", "COM0", "LPT10",
                           "nul_file", "\xe9t\xe9.txt"})
        EXPECT_TRUE(cabinet::IsSafeOutputName(ok, kWestern)) << ok;
    for (const char* bad : {"", ".", "..", "...", " ", ". .", "a<b", "a>b", "a\"b", "a|b", "a?b", "a*b",
                            "a\tb", "CON", "con", "Con.txt", "NUL.tar.gz", "PRN", "AUX", "COM1", "lpt9.log",
                            "CONIN$", "conout$", "CON .txt"})
        EXPECT_FALSE(cabinet::IsSafeOutputName(bad, kWestern)) << bad;
    EXPECT_EQ(cabinet::OutputName("x\\..\\..", kWestern), "");
    EXPECT_EQ(cabinet::OutputName("x\\..", kWestern), "");
    EXPECT_EQ(cabinet::OutputName("..\\ok.txt", kWestern), "ok.txt");
    EXPECT_EQ(cabinet::OutputName("sub\\", kWestern), "");
}

// Second bytes of double-byte characters that equal a backslash (0x5C) or a
// bar (0x7C) are neither separators nor characters a name may not hold:
// "ソ" = 83 5C and "ポ" = 83 7C in code page 932, 81 5C and 81 7C are
// characters in 936, 949 and 950 alike.
TEST(CabinetNames, DoubleByteCharactersAreReadWhole) {
    const std::string so = "\x83\x5c", po = "\x83\x7c";
    EXPECT_EQ(cabinet::BareName("sub\\F0_" + so + "ft.txt", 932), "F0_" + so + "ft.txt");
    EXPECT_EQ(cabinet::OutputName("F1_" + po + ".txt", 932), "F1_" + po + ".txt");
    EXPECT_EQ(cabinet::OutputName(so + "\\" + so, 932), so);
    for (unsigned codePage : {936u, 949u, 950u})
        EXPECT_EQ(cabinet::OutputName("x\\\x81\x5c\x81\x7c", codePage), "\x81\x5c\x81\x7c") << codePage;
    // The same bytes in a single-byte code page: a separator, a bar.
    EXPECT_EQ(cabinet::BareName("F0_" + so + "ft.txt", kWestern), "ft.txt");
    EXPECT_FALSE(cabinet::IsSafeOutputName(po + ".txt", kWestern));
    // What stays unsafe: ASCII characters outside double-byte characters,
    // and a lead byte at the end standing alone.
    EXPECT_FALSE(cabinet::IsSafeOutputName(so + "|.txt", 932));
    EXPECT_FALSE(cabinet::IsSafeOutputName(so + "?", 932));
    EXPECT_EQ(cabinet::BareName("a\x83\\b", 932), "a\x83\\b");
    // Characters are found from the start: here 83 83 is one, the backslash another.
    EXPECT_EQ(cabinet::BareName("\x83\x83\\b", 932), "b");
    EXPECT_EQ(cabinet::BareName("a\x83", 932), "a\x83");
    // No code page has trail bytes below 0x40: a lead byte before ':' or '/'
    // stands alone, and the path character it does not hide is refused.
    for (unsigned codePage : {932u, 936u, 949u, 950u}) {
        EXPECT_FALSE(cabinet::IsSafeOutputName("t\xf8:p", codePage)) << codePage;
        EXPECT_EQ(cabinet::OutputName("a\x81/..", codePage), "") << codePage;
    }
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
