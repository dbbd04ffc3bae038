// The project's plain file list as cvpack reads and rewrites it.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "ProjectDataList.h"
#include "core/CodePage.h"

namespace {

constexpr unsigned kWestern = core::codepage::kWesternEuropean;

const char kTwoRecordsLf[] =
    "bin\\app.exe\n"
    "Destination Computer\\<InstallDir>\\*1*255*7|Main\n"
    "http://example.com/get.php?f=tool.zip\n"
    "Destination Computer\\<InstallDir>\\tools\\*32*66*0|\n";

std::string WithCrLf(const std::string& text) {
    std::string out;
    for (char c : text) {
        if (c == '\n') out += '\r';
        out += c;
    }
    return out;
}

// The message of the ProjectDataError that parsing `text` raises.
std::string ParseError(const std::string& text, int* line = nullptr) {
    try {
        ParseProjectDataList(text, kWestern);
    } catch (const ProjectDataError& error) {
        if (line) *line = error.Line();
        return error.what();
    }
    return "no error";
}

}  // namespace

TEST(CvpackDataList, ParsesFieldsOfEachRecord) {
    auto records = ParseProjectDataList(kTwoRecordsLf, kWestern);
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(records[0].sourceLine, "bin\\app.exe");
    EXPECT_EQ(records[0].fields.fileName, "app.exe");
    EXPECT_EQ(records[0].fields.destDir, "Destination Computer\\<InstallDir>\\");
    EXPECT_EQ(records[0].fields.flags, 1);
    EXPECT_EQ(records[0].fields.systemMask, 255);
    EXPECT_EQ(records[0].fields.number, 7);
    EXPECT_EQ(records[0].fields.feature, "Main");
    EXPECT_EQ(records[0].lineNumber, 1);
    EXPECT_FALSE(records[0].IsWebItem());
    EXPECT_TRUE(records[1].IsWebItem());
    EXPECT_EQ(records[1].fields.feature, "");
    EXPECT_EQ(records[1].fields.systemMask, 66);
    EXPECT_EQ(records[1].lineNumber, 3);
}

TEST(CvpackDataList, CrLfAndLfReadAlike) {
    auto lf = ParseProjectDataList(kTwoRecordsLf, kWestern);
    auto crlf = ParseProjectDataList(WithCrLf(kTwoRecordsLf), kWestern);
    ASSERT_EQ(crlf.size(), lf.size());
    for (size_t i = 0; i < lf.size(); ++i) {
        EXPECT_EQ(crlf[i].sourceLine, lf[i].sourceLine);
        EXPECT_EQ(crlf[i].dataLine, lf[i].dataLine);
        EXPECT_EQ(crlf[i].fields.feature, lf[i].fields.feature);
    }
}

TEST(CvpackDataList, LastLineNeedsNoEndAndTrailingBlankLinesAreIgnored) {
    EXPECT_EQ(ParseProjectDataList("a.txt\nD\\*0*0*0|F", kWestern).size(), 1u);
    EXPECT_EQ(ParseProjectDataList("a.txt\r\nD\\*0*0*0|F\r\n\r\n\n", kWestern).size(), 1u);
    EXPECT_TRUE(ParseProjectDataList("", kWestern).empty());
    EXPECT_TRUE(ParseProjectDataList("\n\n", kWestern).empty());
}

TEST(CvpackDataList, FileNameFollowsLastBackslashSlashOrColon) {
    auto records = ParseProjectDataList(
        "C:\\src\\bin/tool.dll\nD\\*0*0*0|\nlib/x.so\nD\\*0*0*0|\n"
        "C:file.txt\nD\\*0*0*0|\nplain.txt\nD\\*0*0*0|\n", kWestern);
    ASSERT_EQ(records.size(), 4u);
    EXPECT_EQ(records[0].fields.fileName, "tool.dll");
    EXPECT_EQ(records[1].fields.fileName, "x.so");
    EXPECT_EQ(records[2].fields.fileName, "file.txt");
    EXPECT_EQ(records[3].fields.fileName, "plain.txt");
}

TEST(CvpackDataList, SeparatorsAreFoundLeftToRight) {
    auto records = ParseProjectDataList("x.txt\nD|ir\\*4*2*9|Feat|ure*x\n", kWestern);
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0].fields.destDir, "D|ir\\");
    EXPECT_EQ(records[0].fields.flags, 4);
    EXPECT_EQ(records[0].fields.systemMask, 2);
    EXPECT_EQ(records[0].fields.number, 9);
    EXPECT_EQ(records[0].fields.feature, "Feat|ure*x");
}

TEST(CvpackDataList, MissingSeparatorsNameTheLine) {
    int line = 0;
    EXPECT_EQ(ParseError("a.txt\nD\\*0*0*0|\nb.txt\nD\\*0*0*0\n", &line),
              "data.inf:4: data line lacks the \"|\" after NUMBER "
              "(expected DESTDIR*FLAGS*OSMASK*NUMBER|FEATURE)");
    EXPECT_EQ(line, 4);
    EXPECT_NE(ParseError("a.txt\nD\\*0*0|\n").find("data.inf:2: data line lacks the \"*\" after OSMASK"),
              std::string::npos);
    EXPECT_NE(ParseError("a.txt\nD\\*0\n").find("data.inf:2: data line lacks the \"*\" after FLAGS"),
              std::string::npos);
    EXPECT_NE(ParseError("a.txt\nno separators\n").find("data.inf:2: data line lacks the \"*\" after DESTDIR"),
              std::string::npos);
}

TEST(CvpackDataList, OddNumberOfLinesNamesTheLastLine) {
    int line = 0;
    std::string message = ParseError("a.txt\r\nD\\*0*0*0|\r\nb.txt\r\n", &line);
    EXPECT_EQ(line, 3);
    EXPECT_EQ(message.rfind("data.inf:3: source line without a data line", 0), 0u) << message;
}

TEST(CvpackDataList, NumbersMustBeDecimal) {
    EXPECT_EQ(ParseError("a.txt\nD\\*x1*0*0|\n"),
              "data.inf:2: FLAGS \"x1\" is not a decimal number");
    EXPECT_EQ(ParseError("a.txt\nD\\*0**0|\n"), "data.inf:2: OSMASK \"\" is not a decimal number");
    EXPECT_EQ(ParseError("a.txt\nD\\*0*0*-1|\n"),
              "data.inf:2: NUMBER \"-1\" is not a decimal number");
    EXPECT_EQ(ParseError("a.txt\nD\\*0*0*4294967296|\n"),
              "data.inf:2: NUMBER \"4294967296\" is not a decimal number");
    EXPECT_EQ(ParseProjectDataList("a.txt\nD\\*0*0*2147483647|\n", kWestern)[0].fields.number, 2147483647);
}

// NUMBER means nothing to the setup; left empty, it becomes the record's
// 1-based position, as authors number by hand.
TEST(CvpackDataList, EmptyNumbersAreAssignedAndWrittenOnesKept) {
    auto records = ParseProjectDataList("a.txt\nD\\*0*0*|F\nb.txt\nE*1*2*9|\nc.txt\nG*0*0*|x|y\n", kWestern);
    AssignRecordNumbers(records);
    EXPECT_EQ(records[0].dataLine, "D\\*0*0*1|F");
    EXPECT_EQ(records[0].fields.number, 1);
    EXPECT_EQ(records[1].dataLine, "E*1*2*9|");
    EXPECT_EQ(records[2].dataLine, "G*0*0*3|x|y");
    EXPECT_EQ(records[2].fields.number, 3);
}

TEST(CvpackDataList, RejectsLinesTheSetupWouldMisread) {
    EXPECT_EQ(ParseError("a\rb.txt\nD\\*0*0*0|\n"), "data.inf:1: carriage return inside the line");
    EXPECT_EQ(ParseError(std::string("a.txt\nD\\*0*0*0|F\0x\n", 19)),
              "data.inf:2: NUL byte inside the line");
    EXPECT_EQ(ParseError("\nD\\*0*0*0|\n"), "data.inf:1: empty source line");
    EXPECT_EQ(ParseError("bin/\nD\\*0*0*0|\n"), "data.inf:1: source line has no file name");
    EXPECT_NE(ParseError("gopher://example.com/a.zip\nD\\*0*0*0|\n").find("data.inf:1: web address"),
              std::string::npos);
    // Secure addresses, ports and digest suffixes are web items the setup fetches.
    EXPECT_EQ(ParseError("https://example.com:8443/a.zip#sha256=00{C}\nD\\*0*0*0|\n"), "no error");
}

TEST(CvpackDataList, RewriteEndsEveryLineWithCrLfAndKeepsText) {
    auto records = ParseProjectDataList(kTwoRecordsLf, kWestern);
    EXPECT_EQ(FormatProjectDataList(records), WithCrLf(kTwoRecordsLf));
    EXPECT_EQ(FormatProjectDataList(ParseProjectDataList("a/b.txt\nD\\*0*0*0|F", kWestern)),
              "a/b.txt\r\nD\\*0*0*0|F\r\n");
}

// The setup cuts record texts at 454 characters; the rewritten list keeps the
// lines as written.
TEST(CvpackDataList, LongLinesAreKeptWholeWhileFieldsAreCutAsTheSetupReadsThem) {
    const std::string source = std::string(500, 'd') + "/a.txt";
    const std::string data = std::string(500, 'D') + "*0*0*0|" + std::string(500, 'F');
    auto records = ParseProjectDataList(source + "\n" + data + "\n", kWestern);
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0].sourceLine, source);
    EXPECT_EQ(records[0].fields.sourceLine, source.substr(0, 454));
    EXPECT_EQ(records[0].fields.fileName, "a.txt");
    EXPECT_EQ(records[0].fields.destDir, std::string(454, 'D'));
    EXPECT_EQ(records[0].fields.feature, std::string(454, 'F'));
    EXPECT_EQ(FormatProjectDataList(records), source + "\r\n" + data + "\r\n");
}

TEST(CvpackDataList, ReadingAMissingFileNamesIt) {
    std::string path = (std::filesystem::temp_directory_path() / "cvpack-no-such-list.inf").string();
    try {
        ReadProjectDataList(path, kWestern);
        FAIL() << "no error";
    } catch (const std::runtime_error& error) {
        EXPECT_EQ(std::string(error.what()), "data.inf: cannot read " + path);
    }
}
