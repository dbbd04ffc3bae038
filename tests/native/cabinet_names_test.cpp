// Names of extracted files: bare names, unsafe names, bounded joins, and the
// group folders of payload files.
#include <gtest/gtest.h>

#include "cabinet/CabinetNames.h"
#include "core/WorkingFolder.h"

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

TEST(CabinetNames, PayloadFilesAreGroupedBy128Numbers) {
    EXPECT_EQ(core::ExtractedRelativePath("F0_app.exe"), "cvp0\\F0_app.exe");
    EXPECT_EQ(core::ExtractedRelativePath("F127_a"), "cvp0\\F127_a");
    EXPECT_EQ(core::ExtractedRelativePath("F128_a"), "cvp1\\F128_a");
    EXPECT_EQ(core::ExtractedRelativePath("F19999_x.txt"), "cvp156\\F19999_x.txt");
    EXPECT_EQ(core::ExtractedRelativePath("F007_lead.txt"), "cvp0\\F007_lead.txt");
    EXPECT_EQ(core::ExtractedRelativePath("F1_"), "cvp0\\F1_");  // a record without a file name
    EXPECT_EQ(core::ExtractedRelativePath("F999999999_max"), "cvp7812499\\F999999999_max");
    EXPECT_EQ(core::ExtractedRelativePath("F300_x"), "cvp2\\F300_x");
    EXPECT_EQ(core::ExtractedFilePath("C:\\T\\cv101010\\", "F3_lib.dll"), "C:\\T\\cv101010\\cvp0\\F3_lib.dll");
}

TEST(CabinetNames, OtherFilesStayInTheOutputFolder) {
    for (const char* name : {"setup.inf", "data.inf", "cvexec.exe", "F_x", "F12", "F12x_y", "f1_lower",
                             "FF1_x", "F1000000000_too_long", "F", "F1", "license.rtf"}) {
        EXPECT_EQ(core::ExtractedRelativePath(name), name) << name;
    }
    EXPECT_EQ(core::ExtractedFilePath("C:\\W\\", "setup.inf"), "C:\\W\\setup.inf");
}

TEST(CabinetNames, PayloadGroupNamesAreRecognisedRegardlessOfCase) {
    for (const char* name : {"cvp0", "cvp156", "CVP3", "Cvp12"}) EXPECT_TRUE(core::IsPayloadGroupName(name)) << name;
    for (const char* name : {"cvp", "cvpx", "cvp1.txt", "xcvp1", "cv101010", "F0_cvp0"})
        EXPECT_FALSE(core::IsPayloadGroupName(name)) << name;
}

}  // namespace
