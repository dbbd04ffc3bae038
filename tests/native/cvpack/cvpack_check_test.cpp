// cvpack check on the sample project with one mistake at a time: each is
// reported with its file and line, and the sample itself gives no message.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

#include "Diagnostics.h"
#include "FolderEntries.h"
#include "ProjectCheck.h"
#include "core/SettingsReference.h"

namespace fs = std::filesystem;

namespace {

class CvpackCheck : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() /
               ("cvpack-check-" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(dir_);
        fs::copy(fs::path(CV_SOURCE_DIR) / ".." / "examples" / "sample", dir_, fs::copy_options::recursive);
        // Lines end in LF here whatever the checkout gave, so the changes below find them.
        std::string text = Settings();
        text.erase(std::remove(text.begin(), text.end(), '\r'), text.end());
        std::ofstream(dir_ / "setup.inf", std::ios::binary) << text;
    }
    void TearDown() override { fs::remove_all(dir_); }

    std::string Settings() const {
        std::ifstream in(dir_ / "setup.inf", std::ios::binary);
        std::ostringstream text;
        text << in.rdbuf();
        return text.str();
    }
    // Replaces the first `from` that begins a line of setup.inf (comments
    // mention keys too) by `to`; returns the line it was on.
    int Change(const std::string& from, const std::string& to) {
        std::string text = Settings();
        const size_t found = text.find("\n" + from);
        EXPECT_NE(found, std::string::npos) << from;
        if (found == std::string::npos) return 0;
        const size_t at = found + 1;
        text.replace(at, from.size(), to);
        std::ofstream(dir_ / "setup.inf", std::ios::binary) << text;
        return static_cast<int>(std::count(text.begin(), text.begin() + at, '\n')) + 1;
    }
    std::vector<std::string> Messages() const {
        std::vector<std::string> lines;
        for (const Finding& f : CheckProject(dir_.string(), 1252)) lines.push_back(FormatFinding(f));
        return lines;
    }
    void ExpectOnly(const std::string& message) const {
        EXPECT_EQ(Messages(), std::vector<std::string>{message});
    }
    static std::string At(int line) { return "setup.inf:" + std::to_string(line) + ": "; }

    fs::path dir_;
};

TEST_F(CvpackCheck, TheSampleIsClean) {
    EXPECT_EQ(Messages(), std::vector<std::string>());
}

TEST_F(CvpackCheck, PagesMustBeInTheTheme) {
    const int line = Change("W1=license.lcd", "W1=licence.lcd");
    ExpectOnly(At(line) + "error: page \"licence.lcd\" named by W1 is not in theme/ (did you mean license.lcd?)");
    for (const auto& entry : fs::directory_iterator(dir_ / "theme")) fs::remove(entry.path());
    ExpectOnly("theme/: error: no layout files (.lcd): the setup would show no window");
}

TEST_F(CvpackCheck, ProductCodeAndAllowedSystemsAreRequired) {
    const std::string text = Settings();
    const int appinfo = Change("[APPINFO]", "[APPINFO]");
    Change("a3={7D3C2F1A-5B84-4E0F-9A61-2C8E5D4B7A90}\n", "");
    ExpectOnly(At(appinfo) + "error: no product code ([APPINFO] a3): the product could not be removed");

    std::ofstream(dir_ / "setup.inf", std::ios::binary) << text;
    const int system = Change("[SYSTEM]", "[SYSTEMS]");
    const std::vector<std::string> messages = Messages();
    EXPECT_NE(std::find(messages.begin(), messages.end(),
                        At(system) + "warning: unknown section [SYSTEMS] (did you mean SYSTEM?)"),
              messages.end());
    EXPECT_NE(std::find(messages.begin(), messages.end(),
                        "setup.inf: error: no system is allowed ([SYSTEM] os0 to os6 = Yes): every machine would "
                        "be refused"),
              messages.end());

    std::ofstream(dir_ / "setup.inf", std::ios::binary) << "hello world\n";
    const std::vector<std::string> hello = Messages();
    ASSERT_GE(hello.size(), 3u);
    EXPECT_EQ(hello[0], "setup.inf:1: warning: neither a [section] nor key=value: the setup ignores this line");
    EXPECT_EQ(hello[1], "setup.inf: error: no sections: this is not a settings file");
}

TEST_F(CvpackCheck, PlaceholdersFilesAndCounts) {
    int line = Change("CT10=<InstallDir>", "CT10=<InstalDir>");
    ExpectOnly(At(line) + "error: unknown placeholder <InstalDir> (did you mean <InstallDir>?)");
    Change("CT10=<InstalDir>", "CT10=<InstallDir>");

    fs::remove(dir_ / "working" / "license.rtf");
    line = Change("CT0=license.rtf", "CT0=license.rtf");
    ExpectOnly(At(line) + "error: file \"license.rtf\" named by CT0 is not in working/");
    std::ofstream(dir_ / "working" / "license.rtf") << "{\\rtf1 x}";

    line = Change("C0=<SystemFolder>\\reg.exe", "C0=<ResourceDir>\\tool.exe");
    ExpectOnly(At(line) + "error: add-on program \"<ResourceDir>\\tool.exe\" named by C0 is not in SupportFiles/");
    fs::create_directories(dir_ / "SupportFiles");
    std::ofstream(dir_ / "SupportFiles" / "tool.exe") << "MZ";
    EXPECT_EQ(Messages(), std::vector<std::string>());

    Change("a8=All-Users", "a8=Per-User");
    line = Change("a4=<ProgramFilesFolder>", "a4=<ProgramFilesFolder>");
    ExpectOnly(At(line) + "warning: a8=Per-User installs without administrator rights, which cannot write into "
                          "<ProgramFilesFolder>: use <UserProgramsFolder>");
    Change("a4=<ProgramFilesFolder>", "a4=<UserProgramsFolder>");
    EXPECT_EQ(Messages(), std::vector<std::string>());
    Change("a8=Per-User", "a8=All-Users");

    line = Change("[SETUPTYPE]\nTOTAL=2", "[SETUPTYPE]\nTOTAL=3") + 1;
    ExpectOnly(At(line) + "error: TOTAL=3 but item 2 has no fields");
    Change("[SETUPTYPE]\nTOTAL=3", "[SETUPTYPE]\nTOTAL=1");
    ExpectOnly(At(line) + "warning: TOTAL=1 but there are items up to 1: the setup ignores those from 1 on");
}

// The icon cvpack writes into setup.exe must be an icon file of the project.
TEST_F(CvpackCheck, TheSetupIconIsAnIconFileOfTheProject) {
    int line = Change("SetupIcon=working/notes.ico", "SetupIcon=art/notes.ico");
    ExpectOnly(At(line) + "error: icon \"art/notes.ico\" named by SetupIcon is not in the project");
    fs::create_directories(dir_ / "art");
    std::ofstream(dir_ / "art" / "notes.ico", std::ios::binary) << "GIF89a";
    ExpectOnly(At(line) + "error: icon \"art/notes.ico\" named by SetupIcon: not an icon file (.ico)");
    std::ofstream(dir_ / "art" / "notes.ico", std::ios::binary) << std::string("\0\0\1\0\1\0\x20\x20\0\0\1\0\x20\0\xFF\0\0\0\x16\0\0\0", 22);
    ExpectOnly(At(line) + "error: icon \"art/notes.ico\" named by SetupIcon: truncated icon file: picture 1 of "
                          "the icon file ends beyond it");
    fs::copy_file(dir_ / "working" / "notes.ico", dir_ / "art" / "notes.ico", fs::copy_options::overwrite_existing);
    EXPECT_EQ(Messages(), std::vector<std::string>());
}

TEST_F(CvpackCheck, KeysValuesAndTheFileList) {
    int line = Change("Language=English", "Langauge=English");
    ExpectOnly(At(line) + "warning: unknown key Langauge in [APPINFO] (did you mean Language?)");
    Change("Langauge=English", "Language=English");
    line = Change("PREVIEW=0", "PREVIEW=none");
    ExpectOnly(At(line) + "error: PREVIEW=none is not a number");
    Change("PREVIEW=none", "PREVIEW=0");
    line = Change("a10=Yes", "a10=yes");
    ExpectOnly(At(line) + "warning: a10=yes: the setup compares exactly, so this is not \"Yes\"");
    Change("a10=yes", "a10=Yes");

    fs::remove(dir_ / "payload" / "notes.txt");
    const std::vector<std::string> messages = Messages();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].rfind("data.inf:", 0), 0u);
    EXPECT_NE(messages[0].find("error: payload file not found: payload/notes.txt"), std::string::npos);
}

TEST_F(CvpackCheck, NamesTheCodePageCannotHoldOrThatLookLikeUtf8) {
    std::ifstream list(dir_ / "data.inf", std::ios::binary);
    const std::string text((std::istreambuf_iterator<char>(list)), {});
    const long first = std::count(text.begin(), text.end(), '\n') + 1;  // the line appended next
    std::ofstream(dir_ / "payload" / "\xC3\x9C" "bersicht.txt") << "x";
    std::ofstream(dir_ / "data.inf", std::ios::app)
        << "payload/\xC3\x9C" "bersicht.txt\nDestination Computer\\<InstallDir>\\*0*0*7|Program Files\n";
    std::vector<std::string> messages = Messages();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].rfind("data.inf:" + std::to_string(first) + ": warning: this line looks like UTF-8", 0), 0u)
        << messages[0];

    std::ofstream(dir_ / "payload" / "\xCE\xA9" "mega.txt") << "x";
    std::ofstream(dir_ / "data.inf", std::ios::app)
        << "payload/\xCE\xA9" "mega.txt\nDestination Computer\\<InstallDir>\\*0*0*8|Program Files\n";
    messages.clear();
    for (const Finding& f : CheckProject(dir_.string(), 1252, SourceEncoding::kUtf8)) messages.push_back(FormatFinding(f));
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0], "data.inf:" + std::to_string(first + 2) + ": error: \"\xCE\xA9\" (U+03A9) cannot be written in code page 1252");
}

// A UTF-8 setup.inf names its files by their UTF-8 names on disk, though
// the setup reads the value in the code page.
TEST_F(CvpackCheck, AUtf8SettingsFileFindsItsFilesByTheirWrittenNames) {
    std::ofstream(dir_ / "working" / "\xC3\x9C" "bersicht.ico") << "icon";
    Change("a18=notes.ico", "a18=\xC3\x9C" "bersicht.ico");
    const std::string text = Settings();
    std::ofstream(dir_ / "setup.inf", std::ios::binary) << "\xEF\xBB\xBF" << text;
    EXPECT_EQ(Messages(), std::vector<std::string>());
}

// A link to nothing among a folder entry's files is passed over: the walk
// goes on, and every file after it in the folder is packed.
TEST_F(CvpackCheck, AFolderEntryPassesOverALinkToNothing) {
    const fs::path docs = dir_ / "payload" / "docs";
    fs::create_symlink(dir_ / "nowhere", docs / "dangling.txt");
    for (int i = 0; i < 12; ++i) std::ofstream(docs / ("page" + std::to_string(i) + ".txt")) << i;
    Diagnostics diagnostics([](const std::string&) {});
    SourceConverter converter(1252, diagnostics);
    const SourceText list = converter.Read(dir_ / "data.inf", "data.inf", SourceEncoding::kAnsi);
    int pages = 0;
    for (const ProjectDataRecord& r : ReadProjectRecords(list, dir_, converter, diagnostics))
        pages += r.sourceLine.find("page") != std::string::npos;
    EXPECT_FALSE(diagnostics.HasErrors());
    EXPECT_EQ(pages, 12);
    EXPECT_EQ(Messages(), std::vector<std::string>());
}

// Every key of the reference is one the checker accepts, and the reference
// in the authors' guide is the one the table makes.
TEST(SettingsReference, TheGuideHoldsTheTable) {
    std::ifstream in(fs::path(CV_SOURCE_DIR) / ".." / "docs" / "authoring.md", std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    const std::string guide = text.str();
    const std::string begin = "<!-- BEGIN generated: setup.inf sections and keys -->\n";
    const size_t from = guide.find(begin);
    const size_t to = guide.find("<!-- END generated -->");
    ASSERT_NE(from, std::string::npos);
    ASSERT_NE(to, std::string::npos);
    EXPECT_EQ(guide.substr(from + begin.size(), to - from - begin.size()),
              core::settingsref::ReferenceMarkdown())
        << "run: cvpack reference --update docs/authoring.md";
}

}  // namespace
