// The uninstaller's rules: its command line as the setup and the list of
// programs write it, and what a removal's report makes of the exit code and
// the closing message.
#include <gtest/gtest.h>

#include <string>

#include "uninstall/BoxTitle.h"
#include "uninstall/CommandLine.h"
#include "uninstall/ExitCodes.h"
#include "uninstall/RemovalReport.h"

namespace {

using uninstall::CommandProblem;
using uninstall::Mode;
using uninstall::ParseCommandLine;

constexpr unsigned kWestern = 1252;
constexpr unsigned kJapanese = 932;

void ExpectCommand(const std::string& line, Mode mode, const std::string& code) {
    const uninstall::Command c = ParseCommandLine(line, kWestern);
    EXPECT_EQ(c.problem, CommandProblem::None) << line;
    EXPECT_EQ(c.mode, mode) << line;
    EXPECT_EQ(c.productCode, code) << line;
}

TEST(UninstallCommandLine, ReadsTheFormsTheSetupAndTheListOfProgramsWrite) {
    // The setup: program by path, no program token, "/S" quoted.
    ExpectCommand(" \"/S\" {A1B2}", Mode::Silent, "{A1B2}");
    ExpectCommand("\"/S\" Corvane Test", Mode::Silent, "Corvane Test");
    // The list of programs: the program's name first, then the option.
    ExpectCommand("cvexec.exe /R Corvane Reg Test {7}", Mode::Remove, "Corvane Reg Test {7}");
    ExpectCommand("cvexec.exe /M Corvane Reg Test {7}", Mode::Maintain, "Corvane Reg Test {7}");
    ExpectCommand("\"C:\\Program Files\\x\\cvexec.exe\"  /r   My  App  ", Mode::Remove, "My  App");
    ExpectCommand("C:\\WINDOWS\\cvexec.exe /S App", Mode::Silent, "App");
    ExpectCommand("cvexec.exe\t/m\tApp", Mode::Maintain, "App");
    // A code typed in quotes loses them; one that merely contains quotes is refused below.
    ExpectCommand("cvexec.exe /R \"My App\"", Mode::Remove, "My App");
}

TEST(UninstallCommandLine, ReportsWhatIsWrongAndKeepsTheModeForSilentCallers) {
    EXPECT_EQ(ParseCommandLine("", kWestern).problem, CommandProblem::NoOption);
    EXPECT_EQ(ParseCommandLine("cvexec.exe", kWestern).problem, CommandProblem::NoOption);
    EXPECT_EQ(ParseCommandLine("cvexec.exe /X App", kWestern).problem, CommandProblem::NoOption);
    EXPECT_EQ(ParseCommandLine("cvexec.exe /Rapp", kWestern).problem, CommandProblem::NoOption);
    EXPECT_EQ(ParseCommandLine("cvexec.exe App /R", kWestern).problem, CommandProblem::NoOption);

    const uninstall::Command noCode = ParseCommandLine(" \"/S\"   ", kWestern);
    EXPECT_EQ(noCode.problem, CommandProblem::NoProductCode);
    EXPECT_EQ(noCode.mode, Mode::Silent);  // so no window is shown to a caller that waits
    const uninstall::Command traversal = ParseCommandLine(" \"/S\" ..\\..\\System32", kWestern);
    EXPECT_EQ(traversal.problem, CommandProblem::BadProductCode);
    EXPECT_EQ(traversal.mode, Mode::Silent);
    EXPECT_EQ(ParseCommandLine("cvexec.exe /R ..", kWestern).problem, CommandProblem::BadProductCode);
    EXPECT_EQ(ParseCommandLine("cvexec.exe /R a\"b", kWestern).problem, CommandProblem::BadProductCode);

    EXPECT_EQ(ParseCommandLine("/R " + std::string(uninstall::kMaxProductCodeLength, 'c'), kWestern).problem,
              CommandProblem::None);
    EXPECT_EQ(ParseCommandLine("/R " + std::string(uninstall::kMaxProductCodeLength + 1, 'c'), kWestern).problem,
              CommandProblem::BadProductCode);
    EXPECT_EQ(ParseCommandLine("/R " + std::string(uninstall::kMaxCommandLineLength, 'c'), kWestern).problem,
              CommandProblem::TooLong);
}

TEST(UninstallCommandLine, ReadsTheLogSwitchBeforeTheOptionOrAfterTheCode) {
    // Appended by a tool to the registered QuietUninstallString: the rest of the line.
    uninstall::Command c = ParseCommandLine("cvexec.exe \"/S\" Corvane Test {7} /LOG=C:\\my logs\\r.log ", kWestern);
    EXPECT_EQ(c.problem, CommandProblem::None);
    EXPECT_EQ(c.mode, Mode::Silent);
    EXPECT_EQ(c.productCode, "Corvane Test {7}");
    EXPECT_EQ(c.logFile, "C:\\my logs\\r.log");
    c = ParseCommandLine(" \"/S\" {A1B2} \"/log=C:\\a b.log\"", kWestern);
    EXPECT_EQ(c.productCode, "{A1B2}");
    EXPECT_EQ(c.logFile, "C:\\a b.log");
    // Before the option, with or without the program's name.
    c = ParseCommandLine("cvexec.exe /LOG=\"C:\\a b.log\" /R App", kWestern);
    EXPECT_EQ(c.problem, CommandProblem::None);
    EXPECT_EQ(c.mode, Mode::Remove);
    EXPECT_EQ(c.productCode, "App");
    EXPECT_EQ(c.logFile, "C:\\a b.log");
    c = ParseCommandLine("/LOG=r.log /S App", kWestern);
    EXPECT_EQ(c.mode, Mode::Silent);
    EXPECT_EQ(c.logFile, "r.log");
    // A switch without a file, or with one too long, is refused; the mode is kept.
    c = ParseCommandLine("cvexec.exe /S App /LOG=", kWestern);
    EXPECT_EQ(c.problem, CommandProblem::BadLogFile);
    EXPECT_EQ(c.mode, Mode::Silent);
    EXPECT_EQ(ParseCommandLine("/LOG=" + std::string(uninstall::kMaxLogPathLength + 1, 'l') + " /R App", kWestern).problem,
              CommandProblem::BadLogFile);
    EXPECT_EQ(ParseCommandLine("cvexec.exe /R /LOG=x.log", kWestern).problem, CommandProblem::NoProductCode);
    EXPECT_EQ(ParseCommandLine("cvexec.exe /LOG=x.log", kWestern).problem, CommandProblem::NoOption);
    // Glued to the code it is no switch, and the code cannot hold its "/".
    EXPECT_EQ(ParseCommandLine("cvexec.exe /R App/LOG=x.log", kWestern).problem, CommandProblem::BadProductCode);
}

TEST(UninstallCommandLine, ProductCodesAreCheckedByCharacters) {
    EXPECT_FALSE(uninstall::IsUsableProductCode("a/b", kWestern));
    EXPECT_FALSE(uninstall::IsUsableProductCode("a:b", kWestern));
    EXPECT_FALSE(uninstall::IsUsableProductCode(std::string("a\x01", 2), kWestern));
    EXPECT_TRUE(uninstall::IsUsableProductCode("{8A5F-11} App v2.0", kWestern));
    // "ソフト" in code page 932: the second byte of "ソ" is 0x5C, no backslash.
    const std::string soft = "\x83\x5C\x83\x74\x83\x67";
    EXPECT_TRUE(uninstall::IsUsableProductCode(soft, kJapanese));
    EXPECT_FALSE(uninstall::IsUsableProductCode(soft, kWestern));
}

std::string Texts(core::MessageId id) { return core::EnglishText(id); }

TEST(UninstallReport, ExitCodeAndClosingMessageSayWhatStays) {
    uninstall::RemovalReport report;
    EXPECT_EQ(uninstall::ExitCodeOf(report), uninstall::kExitRemoved);
    EXPECT_EQ(uninstall::ClosingText(report, Texts), "<ProductName> was removed from your computer.");

    report.restartNeeded = {"C:\\App\\busy.dll"};
    EXPECT_EQ(uninstall::ExitCodeOf(report), uninstall::kExitRestartNeeded);

    report.skippedLines = uninstall::UnconsumedLines(
        core::ParseUninstallLog("TOTALFILE=1\r\nFILE=C:\\App\\a.txt\r\nNEWKIND=x=y\r\nJUNKLINE\r\n"));
    EXPECT_EQ(uninstall::ExitCodeOf(report), uninstall::kExitLeftOver);
    report.leftOver = {"C:\\App\\locked.txt"};
    EXPECT_EQ(uninstall::ClosingText(report, Texts),
              "<ProductName> was removed, but not completely.\r\n\r\n"
              "These items could not be removed:\r\nC:\\App\\locked.txt\r\n\r\n" +
                  std::string(core::EnglishText(core::MessageId::UninstallSkippedHeading)) +
                  "\r\nNEWKIND=x=y\r\nJUNKLINE\r\n\r\n"
                  "These items will be removed when the computer restarts:\r\nC:\\App\\busy.dll");
}

TEST(UninstallReport, LongListsAreCut) {
    uninstall::RemovalReport report;
    for (size_t i = 0; i < uninstall::kMaxListedItems + 3; ++i) report.leftOver.push_back("f" + std::to_string(i));
    const std::string text = uninstall::ClosingText(report, Texts);
    EXPECT_NE(text.find("\r\nf9\r\n(and 3 more)"), std::string::npos) << text;
    EXPECT_EQ(text.find("f10"), std::string::npos);
}

}  // namespace

namespace {

TEST(UninstallBoxTitle, NamesTheProductShownSafelyAndBounded) {
    EXPECT_EQ(uninstall::BoxTitle("Corvane Notes", kWestern), "Corvane Notes");
    EXPECT_EQ(uninstall::BoxTitle("", kWestern), "Uninstall");
    EXPECT_EQ(uninstall::BoxTitle("Evil\r\nName\x1b[2J\x7f", kWestern), "Evil??Name?[2J?");
    const std::string longName(300, 'x');
    EXPECT_EQ(uninstall::BoxTitle(longName, kWestern), std::string(uninstall::kBoxTitleLimit, 'x'));
    // 99 single bytes and a two-byte character across the limit: the whole
    // character goes, never its lead byte alone.
    const std::string straddling = std::string(99, 'a') + "\x83\x5c" + "tail";
    EXPECT_EQ(uninstall::BoxTitle(straddling, kJapanese), std::string(99, 'a'));
    EXPECT_EQ(uninstall::BoxTitle(straddling, kWestern), std::string(99, 'a') + "\x83");
}

}  // namespace
