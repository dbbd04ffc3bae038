// setup.exe's command line: the switches deployment tools pass, written the
// ways they write them, and what is refused with which text.
#include <gtest/gtest.h>

#include <string>

#include "control/CommandLine.h"
#include "core/Messages.h"

namespace {

using control::commandline::ParseCommandLine;
using control::commandline::Problem;
using control::commandline::Switches;

TEST(SetupCommandLine, NoArgumentsIsTheProjectsOwnRun) {
    for (const char* line : {"", "setup.exe", "\"C:\\Program Files\\Pkg\\setup.exe\"  ", "C:\\pkg\\setup.exe"}) {
        const Switches s = ParseCommandLine(line);
        EXPECT_EQ(s.problem, Problem::None) << line;
        EXPECT_FALSE(s.silent || s.usage) << line;
        EXPECT_EQ(s.logFile + s.installFolder, "") << line;
    }
}

TEST(SetupCommandLine, ReadsSwitchesAsToolsWriteThem) {
    Switches s = ParseCommandLine("setup.exe /S /LOG=C:\\logs\\run.log /D=C:\\Other Place\\Notes");
    EXPECT_EQ(s.problem, Problem::None);
    EXPECT_TRUE(s.silent);
    EXPECT_EQ(s.logFile, "C:\\logs\\run.log");
    EXPECT_EQ(s.installFolder, "C:\\Other Place\\Notes");

    // Any case, tabs, quotes around a value or the whole switch, no program name.
    s = ParseCommandLine("/s\t\"/log=C:\\my logs\\a.log\" /d=\"C:\\Other Place\\Notes\\\"  ");
    EXPECT_EQ(s.problem, Problem::None);
    EXPECT_TRUE(s.silent);
    EXPECT_EQ(s.logFile, "C:\\my logs\\a.log");
    EXPECT_EQ(s.installFolder, "C:\\Other Place\\Notes");
    EXPECT_EQ(ParseCommandLine("setup.exe /LOG=\"C:\\a b.log\"").logFile, "C:\\a b.log");
    EXPECT_EQ(ParseCommandLine("setup.exe \"/D=C:\\a b\"").installFolder, "C:\\a b");
    EXPECT_EQ(ParseCommandLine("setup.exe /D=D:\\").installFolder, "D:\\");
    EXPECT_TRUE(ParseCommandLine("setup.exe /?").usage);
}

void ExpectRefused(const std::string& line, Problem problem, const std::string& refused, bool silent) {
    const Switches s = ParseCommandLine(line);
    EXPECT_EQ(s.problem, problem) << line;
    EXPECT_EQ(s.refused, refused) << line;
    EXPECT_EQ(s.silent, silent) << line;
}

TEST(SetupCommandLine, RefusesWhatItDoesNotKnowAndStillKnowsASilentCaller) {
    ExpectRefused("setup.exe /VERYSILENT /S", Problem::Unknown, "/VERYSILENT", true);
    ExpectRefused("setup.exe /S /qn /x", Problem::Unknown, "/qn", true);
    ExpectRefused("setup.exe INSTALLDIR=C:\\x", Problem::Unknown, "INSTALLDIR=C:\\x", false);
    ExpectRefused("setup.exe /Sx", Problem::Unknown, "/Sx", false);
    ExpectRefused("setup.exe /LOG= /S", Problem::NoValue, "/LOG=", true);
    ExpectRefused("setup.exe /S /D=  ", Problem::NoValue, "/D=", true);
    ExpectRefused("setup.exe /LOG=" + std::string(control::commandline::kMaxLogPathLength + 1, 'l'),
                  Problem::BadLogPath, std::string(control::commandline::kMaxLogPathLength + 1, 'l'), false);
    // /D= is last: what follows belongs to the folder, which must be one the
    // destination page takes.
    ExpectRefused("setup.exe /D=C:\\x /S", Problem::BadFolder, "C:\\x /S", true);
    ExpectRefused("setup.exe /S /D=relative\\folder", Problem::BadFolder, "relative\\folder", true);
    ExpectRefused("setup.exe /S /D=C:\\a\\\\b", Problem::BadFolder, "C:\\a\\\\b", true);
    ExpectRefused("setup.exe /S /D=C:\\a?", Problem::BadFolder, "C:\\a?", true);
    EXPECT_EQ(ParseCommandLine("setup.exe /S /D=C:\\" + std::string(control::commandline::kMaxFolderLength - 3, 'f'))
                  .problem,
              Problem::None);
    EXPECT_EQ(ParseCommandLine("setup.exe /S /D=C:\\" + std::string(control::commandline::kMaxFolderLength - 2, 'f'))
                  .problem,
              Problem::BadFolder);
    const Switches tooLong = ParseCommandLine("setup.exe /S " + std::string(control::commandline::kMaxCommandLineLength, 'x'));
    EXPECT_EQ(tooLong.problem, Problem::TooLong);
    EXPECT_TRUE(tooLong.silent);
}

TEST(SetupCommandLine, RefusalTextsNameTheProblemAndShowTheUsage) {
    const std::string usage = core::EnglishText(core::MessageId::SetupUsage);
    EXPECT_EQ(control::commandline::RefusalText(ParseCommandLine("setup.exe /X")),
              "The switch /X is not known.\r\n\r\n" + usage);
    EXPECT_EQ(control::commandline::RefusalText(ParseCommandLine("setup.exe /LOG=")),
              "The switch /LOG= needs a value after its \"=\".\r\n\r\n" + usage);
    EXPECT_EQ(control::commandline::RefusalText(ParseCommandLine("setup.exe /D=C:\\a|b")),
              "The folder:\n\nC:\\a|b\n\nis invalid. Please reenter.");
    EXPECT_EQ(control::commandline::RefusalText(ParseCommandLine("setup.exe /S")), "");
    EXPECT_EQ(control::commandline::LogRefusalText("C:\\no\\x.log", "The system cannot find the path specified."),
              "The log file:\n\nC:\\no\\x.log\n\ncannot be written: The system cannot find the path specified.");
    // The usage box lists every switch and every exit code.
    for (const char* item : {"/S", "/LOG=<file>", "/D=<folder>", "/?", "\r\n0 ", "\r\n1 ", "\r\n2 ", "\r\n3 ",
                             "\r\n4 ", "\r\n5 ", "\r\n3010 "})
        EXPECT_NE(usage.find(item), std::string::npos) << item;
}

}  // namespace
