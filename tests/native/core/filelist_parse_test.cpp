// Reading the decrypted file list: lines, records, directories, stored names.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/CodePage.h"
#include "core/FileList.h"

namespace filelist = core::filelist;
using filelist::FileRecord;

namespace {

constexpr unsigned kWestern = core::codepage::kWesternEuropean;

TEST(FileListLines, CrEndsALineAndDropsTheNextCharacter) {
    EXPECT_EQ(filelist::SplitLines("a\r\nb\r\n"), (std::vector<std::string>{"a", "b"}));
    // The character after CR is dropped whatever it is.
    EXPECT_EQ(filelist::SplitLines("a\rXb\r\n"), (std::vector<std::string>{"a", "b"}));
    EXPECT_EQ(filelist::SplitLines("a\r\r\r\n"), (std::vector<std::string>{"a", ""}));
    EXPECT_EQ(filelist::SplitLines("\r\n\r\n"), (std::vector<std::string>{"", ""}));
    // A CR at the very end ends the last line.
    EXPECT_EQ(filelist::SplitLines("a\r\nb\r"), (std::vector<std::string>{"a", "b"}));
}

TEST(FileListLines, TextAfterTheLastCrIsIgnored) {
    EXPECT_EQ(filelist::SplitLines("a\r\nb\r\ntail"), (std::vector<std::string>{"a", "b"}));
    EXPECT_TRUE(filelist::SplitLines("no line end").empty());
    EXPECT_TRUE(filelist::SplitLines("").empty());
}

TEST(FileListLines, LfOnlyTextHasNoLines) {
    EXPECT_TRUE(filelist::SplitLines("a\nb\nc\n").empty());
    EXPECT_TRUE(filelist::ParseFileList("x.txt\nD\\*0*0*1|\n", kWestern).empty());
}

TEST(FileListLines, ZeroPaddingAfterTheLastLineIsIgnored) {
    std::string text = "a\r\nb\r\n";
    text.append(10, '\0');
    EXPECT_EQ(filelist::SplitLines(text), (std::vector<std::string>{"a", "b"}));
    // The text ends at its first NUL, even when CRs follow.
    std::string cut = std::string("a\r\nb") + '\0' + "c\r\nd\r\n";
    EXPECT_EQ(filelist::SplitLines(cut), (std::vector<std::string>{"a"}));
}

TEST(FileListRecords, FieldsOfACompleteDataLine) {
    FileRecord r = filelist::ParseRecord(
        "C:\\work\\payload\\app.exe", "Destination Computer\\<InstallDir>\\*129*66*7|Main Program", kWestern);
    EXPECT_EQ(r.fileName, "app.exe");
    EXPECT_EQ(r.sourceLine, "C:\\work\\payload\\app.exe");
    EXPECT_EQ(r.destDir, "Destination Computer\\<InstallDir>\\");
    EXPECT_EQ(r.flags, 129);
    EXPECT_EQ(r.systemMask, 66);
    EXPECT_EQ(r.number, 7);
    EXPECT_EQ(r.feature, "Main Program");
}

TEST(FileListRecords, SeparatorsAreFoundLeftToRight) {
    // The feature is everything after the first "|" that follows the third "*":
    // later "*" and "|" belong to it.
    FileRecord r = filelist::ParseRecord("a.txt", "D|ir\\*1*2*3|Fe*at|ure|", kWestern);
    EXPECT_EQ(r.destDir, "D|ir\\");
    EXPECT_EQ(r.flags, 1);
    EXPECT_EQ(r.systemMask, 2);
    EXPECT_EQ(r.number, 3);
    EXPECT_EQ(r.feature, "Fe*at|ure|");
}

TEST(FileListRecords, FileNameIsTheTextAfterTheLastBackslashSlashOrColon) {
    EXPECT_EQ(filelist::FileNameOf("C:\\a\\b.txt", kWestern), "b.txt");
    EXPECT_EQ(filelist::FileNameOf("a/b/c.txt", kWestern), "c.txt");
    EXPECT_EQ(filelist::FileNameOf("C:name.txt", kWestern), "name.txt");
    EXPECT_EQ(filelist::FileNameOf("dir\\sub/x:y.txt", kWestern), "y.txt");
    EXPECT_EQ(filelist::FileNameOf("plain.txt", kWestern), "plain.txt");
    EXPECT_EQ(filelist::FileNameOf("dir\\", kWestern), "");
    EXPECT_EQ(filelist::FileNameOf("http://host/path/file.zip", kWestern), "file.zip");
}

// In code page 932 "ソ" is 83 5C and "ポ" 83 7C: the second byte of the one
// is a backslash, which ends the name only where it is a character.
TEST(FileListRecords, FileNameIsSplitByCharactersOfTheCodePage) {
    const std::string so = "\x83\x5c", po = "\x83\x7c";
    EXPECT_EQ(filelist::FileNameOf("bin\\" + so + "ft.txt", 932), so + "ft.txt");
    EXPECT_EQ(filelist::FileNameOf(so + "\\" + po + ".txt", 932), po + ".txt");
    EXPECT_EQ(filelist::FileNameOf("a/" + so, 932), so);
    // The same bytes in a single-byte code page hold a backslash.
    EXPECT_EQ(filelist::FileNameOf("bin\\" + so + "ft.txt", kWestern), "ft.txt");
    auto records = filelist::ParseFileList("bin\\" + so + "ft.txt\r\nD\\*0*0*1|\r\n", 932);
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(filelist::StoredName(0, records[0].fileName), "F0_" + so + "ft.txt");
}

TEST(FileListRecords, NumbersReadLeadingDigits) {
    FileRecord r = filelist::ParseRecord("a", "D*12abc*x*99 bottles|", kWestern);
    EXPECT_EQ(r.flags, 12);
    EXPECT_EQ(r.systemMask, 0);
    EXPECT_EQ(r.number, 99);
    EXPECT_EQ(r.feature, "");
    FileRecord e = filelist::ParseRecord("a", "D****|", kWestern);
    EXPECT_EQ(e.flags, 0);
    EXPECT_EQ(e.systemMask, 0);
    EXPECT_EQ(e.number, 0);
    EXPECT_EQ(e.destDir, "D");
}

TEST(FileListRecords, MissingSeparatorsLeaveLaterFieldsEmpty) {
    FileRecord noBar = filelist::ParseRecord("a", "D\\*1*2*3", kWestern);
    EXPECT_EQ(noBar.destDir, "D\\");
    EXPECT_EQ(noBar.flags, 1);
    EXPECT_EQ(noBar.systemMask, 2);
    EXPECT_EQ(noBar.number, 3);
    EXPECT_EQ(noBar.feature, "");

    // Without the third "*" the OSMASK field runs to the end of the line; a
    // "|" inside it is not looked at.
    FileRecord twoStars = filelist::ParseRecord("a", "D\\*1*2|Feat", kWestern);
    EXPECT_EQ(twoStars.flags, 1);
    EXPECT_EQ(twoStars.systemMask, 2);
    EXPECT_EQ(twoStars.number, 0);
    EXPECT_EQ(twoStars.feature, "");

    FileRecord onlyDir = filelist::ParseRecord("a", "Destination Computer\\<InstallDir>\\", kWestern);
    EXPECT_EQ(onlyDir.destDir, "Destination Computer\\<InstallDir>\\");
    EXPECT_EQ(onlyDir.flags, 0);
    EXPECT_EQ(onlyDir.systemMask, 0);
    EXPECT_EQ(onlyDir.number, 0);
    EXPECT_EQ(onlyDir.feature, "");

    FileRecord empty = filelist::ParseRecord("", "", kWestern);
    EXPECT_EQ(empty.fileName, "");
    EXPECT_EQ(empty.destDir, "");
    EXPECT_EQ(empty.feature, "");
}

TEST(FileListRecords, SplitDataLineCountsTheSeparatorsFoundAndCutsNothing) {
    // The authoring tool names the first missing separator from the count.
    EXPECT_EQ(filelist::SplitDataLine("").separators, 0);
    EXPECT_EQ(filelist::SplitDataLine("D\\|x").separators, 0);
    EXPECT_EQ(filelist::SplitDataLine("D\\*1").separators, 1);
    EXPECT_EQ(filelist::SplitDataLine("D\\*1*2|x").separators, 2);
    EXPECT_EQ(filelist::SplitDataLine("D\\*1*2*3").separators, 3);
    const std::string long500(500, 'f');
    filelist::DataFields f = filelist::SplitDataLine(long500 + "*x1* 2*-3|" + long500 + "*|");
    EXPECT_EQ(f.separators, 4);
    EXPECT_EQ(f.destDir, long500);
    EXPECT_EQ(f.flags, "x1");
    EXPECT_EQ(f.systemMask, " 2");
    EXPECT_EQ(f.number, "-3");
    EXPECT_EQ(f.feature, long500 + "*|");
}

TEST(FileListRecords, WebItemsHaveHttpHttpsOrFtpInTheSourceLine) {
    EXPECT_TRUE(filelist::IsWebItem("http://host/file.zip"));
    EXPECT_TRUE(filelist::IsWebItem("ftp://host/file.zip"));
    EXPECT_TRUE(filelist::IsWebItem("see http:x"));
    EXPECT_TRUE(filelist::IsWebItem("mirror http://host/a.zip{token}"));
    EXPECT_TRUE(filelist::IsWebItem("https://host/file.zip"));
    EXPECT_FALSE(filelist::IsWebItem("HTTP://host/file.zip"));
    EXPECT_FALSE(filelist::IsWebItem("C:\\payload\\file.zip"));
    EXPECT_FALSE(filelist::IsWebItem("C:\\ftp\\file.zip"));
    EXPECT_FALSE(filelist::IsWebItem("bin\\http.dll"));
}

TEST(FileListRecords, MalformedRecordsKeepTheirPositions) {
    auto records = filelist::ParseFileList("one.txt\r\nbroken\r\ntwo.txt\r\nD\\*0*0*1|\r\n", kWestern);
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(records[0].fileName, "one.txt");
    EXPECT_EQ(records[0].destDir, "broken");
    EXPECT_EQ(records[1].fileName, "two.txt");
    EXPECT_EQ(filelist::StoredName(1, records[1].fileName), "F1_two.txt");
}

TEST(FileListRecords, FieldsAreCutAt454Characters) {
    const std::string dir454(454, 'd'), dir500(500, 'd');
    const std::string feat500(500, 'f');
    const std::string longName(460, 'n');
    const std::string source = std::string(100, 's') + "\\" + longName;
    FileRecord r = filelist::ParseRecord(source, dir500 + "*1*2*3|" + feat500, kWestern);
    EXPECT_EQ(r.destDir, dir454);
    EXPECT_EQ(r.feature, std::string(454, 'f'));
    EXPECT_EQ(r.sourceLine.size(), 454u);
    EXPECT_EQ(r.sourceLine, source.substr(0, 454));
    // The file name comes from the whole source line, then is cut.
    EXPECT_EQ(r.fileName, std::string(454, 'n'));
    // The numbers after a long field are still read.
    EXPECT_EQ(r.flags, 1);
    EXPECT_EQ(r.systemMask, 2);
    EXPECT_EQ(r.number, 3);

    FileRecord exact = filelist::ParseRecord("x", dir454 + "*0*0*0|", kWestern);
    EXPECT_EQ(exact.destDir, dir454);
}

TEST(FileListRecords, ListInFileOrder) {
    const std::string text =
        "C:\\src\\a.txt\r\nDestination Computer\\<InstallDir>\\*0*0*1|\r\n"
        "C:\\src\\sub\\b.dll\r\nDestination Computer\\<InstallDir>\\bin\\*128*255*2|Core\r\n"
        "http://example.invalid/c.zip{Cond}\r\n<InstallDir>\\dl\\*0*0*3|\r\n";
    auto records = filelist::ParseFileList(text, kWestern);
    ASSERT_EQ(records.size(), 3u);
    EXPECT_EQ(records[0].fileName, "a.txt");
    EXPECT_EQ(records[1].fileName, "b.dll");
    EXPECT_EQ(records[1].flags, 128);
    EXPECT_EQ(records[1].feature, "Core");
    EXPECT_EQ(records[2].sourceLine, "http://example.invalid/c.zip{Cond}");
    EXPECT_EQ(records[2].fileName, "c.zip{Cond}");
    EXPECT_EQ(records[2].number, 3);
}

TEST(FileListRecords, ATrailingSourceLineAloneMakesNoRecord) {
    auto records = filelist::ParseFileList("a.txt\r\nD\\*0*0*1|\r\nlonely.txt\r\n", kWestern);
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0].fileName, "a.txt");
    // Text after the last CR is no line at all.
    EXPECT_EQ(filelist::ParseFileList("a.txt\r\nD\\*0*0*1|", kWestern).size(), 0u);
}

TEST(FileListRecords, ZeroPaddedDecryptedText) {
    std::string text = "a.txt\r\nD\\*0*0*1|\r\nb.txt\r\nE\\*0*0*2|\r\n";
    text.append(16 - text.size() % 16, '\0');
    auto records = filelist::ParseFileList(text, kWestern);
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(records[1].destDir, "E\\");
    EXPECT_EQ(records[1].feature, "");
}

FileRecord WithDir(const std::string& dir) {
    FileRecord r;
    r.destDir = dir;
    return r;
}

TEST(FileListDirectories, DistinctInOrderOfFirstAppearanceWithoutTrailingBackslash) {
    std::vector<FileRecord> records = {WithDir("A\\"), WithDir("B\\"), WithDir("A\\"), WithDir("A"),
                                       WithDir("a\\"), WithDir("C\\sub\\"), WithDir("B\\")};
    EXPECT_EQ(filelist::DistinctDirectories(records),
              (std::vector<std::string>{"A", "B", "a", "C\\sub"}));
}

TEST(FileListDirectories, OnlyOneTrailingBackslashIsRemovedAndEmptyOnesAreLeftOut) {
    std::vector<FileRecord> records = {WithDir("X\\\\"), WithDir(""), WithDir("\\"), WithDir("X\\")};
    EXPECT_EQ(filelist::DistinctDirectories(records), (std::vector<std::string>{"X\\", "X"}));
}

TEST(FileListDirectories, NoLimitOnTheNumberOfDirectories) {
    std::vector<FileRecord> records;
    for (int i = 0; i < 2000; ++i) records.push_back(WithDir("D" + std::to_string(i) + "\\"));
    for (int i = 0; i < 2000; ++i) records.push_back(WithDir("D" + std::to_string(i) + "\\"));
    auto dirs = filelist::DistinctDirectories(records);
    ASSERT_EQ(dirs.size(), 2000u);
    EXPECT_EQ(dirs[1599], "D1599");
    EXPECT_EQ(dirs[1999], "D1999");
}

TEST(FileListStoredNames, LetterFPositionUnderscoreName) {
    EXPECT_EQ(filelist::StoredName(0, "readme.txt"), "F0_readme.txt");
    EXPECT_EQ(filelist::StoredName(12, "app.exe"), "F12_app.exe");
    EXPECT_EQ(filelist::StoredPath("C:\\Temp\\cv101010\\", 3, "lib.dll"), "C:\\Temp\\cv101010\\F3_lib.dll");
    auto records = filelist::ParseFileList("x\\first.txt\r\nD\\*0*0*0|\r\ny/second.txt\r\nD\\*0*0*0|\r\n", kWestern);
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(filelist::StoredName(0, records[0].fileName), "F0_first.txt");
    EXPECT_EQ(filelist::StoredName(1, records[1].fileName), "F1_second.txt");
}

}  // namespace
