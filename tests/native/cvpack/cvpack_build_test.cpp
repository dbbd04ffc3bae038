// cvpack's container commands, engine lookup and project build, through cvpacklib.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <sstream>

#include "CabinetWriter.h"
#include "ContainerTool.h"
#include "EngineLocator.h"
#include "PeImage.h"
#include "ProjectBuilder.h"
#include "StagingFolder.h"
#include "TinyEngine.h"

namespace fs = std::filesystem;

namespace {

class TempFolder {
public:
    TempFolder() : m_path(UnusedSibling(fs::temp_directory_path() / "cvpack-test", "-")) {
        fs::create_directories(m_path);
    }
    ~TempFolder() {
        std::error_code ec;
        fs::remove_all(m_path, ec);
    }
    const fs::path& Path() const { return m_path; }

private:
    fs::path m_path;
};

void WriteFile(const fs::path& path, const std::string& content) {
    fs::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary);
    out << content;
}

std::string ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::string ZeroPadded(const std::string& text) {
    return text + std::string((16 - text.size() % 16) % 16, '\0');
}

std::string Quoted(const fs::path& path) { return "'" + path.string() + "'"; }

// Output of a shell command; status receives its exit status.
std::string Run(const std::string& command, int& status) {
    std::string output;
    FILE* pipe = popen((command + " 2>&1").c_str(), "r");
    if (!pipe) return output;
    char buffer[4096];
    size_t n;
    while ((n = fread(buffer, 1, sizeof(buffer), pipe)) > 0) output.append(buffer, n);
    status = pclose(pipe);
    return output;
}

bool HaveCabextract() {
    int status = -1;
    Run("cabextract --version", status);
    return status == 0;
}

// Names listed by "cabextract -l", in cabinet order.
std::vector<std::string> CabinetNames(const fs::path& cabinet) {
    int status = -1;
    std::istringstream listing(Run("cabextract -l " + Quoted(cabinet), status));
    EXPECT_EQ(status, 0);
    std::vector<std::string> names;
    std::regex row(R"(^\s*\d+ \| [^|]+ \| (.+)$)");
    std::smatch match;
    for (std::string line; std::getline(listing, line);)
        if (std::regex_match(line, match, row)) names.push_back(match[1]);
    return names;
}

// Stored names of a cabinet with their attribute words, read from its bytes
// (header: file entries' offset at 16, count at 28; entry: attributes at 14,
// the name from 16 to its NUL).
std::map<std::string, unsigned> StoredNamesAndAttributes(const fs::path& cabinet) {
    const std::string d = ReadFile(cabinet);
    auto word = [&d](size_t at) {
        return static_cast<unsigned>(static_cast<unsigned char>(d.at(at)) |
                                     static_cast<unsigned char>(d.at(at + 1)) << 8);
    };
    std::map<std::string, unsigned> entries;
    size_t at = word(16) | word(18) << 16;
    for (unsigned k = 0, count = word(28); k < count; ++k) {
        const size_t end = d.find('\0', at + 16);
        entries[d.substr(at + 16, end - at - 16)] = word(at + 14);
        at = end + 1;
    }
    return entries;
}

void ExtractCabinet(const fs::path& cabinet, const fs::path& into) {
    int status = -1;
    std::string output = Run("cabextract -q -d " + Quoted(into) + " " + Quoted(cabinet), status);
    ASSERT_EQ(status, 0) << output;
}

// Entries beside `target` that a build may create while it runs.
std::vector<std::string> Leftovers(const fs::path& target) {
    std::vector<std::string> found;
    std::string prefix = target.filename().string() + ".";
    for (const auto& entry : fs::directory_iterator(target.parent_path())) {
        std::string name = entry.path().filename().string();
        if (name.rfind(prefix + "tmp-", 0) == 0 || name.rfind(prefix + "old-", 0) == 0)
            found.push_back(name);
    }
    return found;
}

template <typename F>
std::string ErrorOf(F operation) {
    try {
        operation();
    } catch (const std::exception& error) {
        return error.what();
    }
    return "no error";
}

bool StartsWith(const std::string& text, const std::string& prefix) {
    return text.rfind(prefix, 0) == 0;
}

}  // namespace

// ---- encrypt / decrypt -------------------------------------------------------

class CvpackContainer : public ::testing::Test {
protected:
    fs::path Dir() const { return m_temp.Path(); }
    TempFolder m_temp;
};

TEST_F(CvpackContainer, RoundTripGivesThePlainTextWithoutItsPadding) {
    // Padded to a block, a whole block, none, and more zero bytes than one
    // block's padding (a 5000-byte tail read in more than one piece).
    for (const std::string& plain : {std::string("[APPINFO]\r\na1=Demo\r\n"),
                                     std::string("exactly sixteen!"), std::string(),
                                     std::string("text") + std::string(5000, '\0')}) {
        WriteFile(Dir() / "setup.inf", plain);
        EncryptProjectFile((Dir() / "setup.inf").string(), (Dir() / "setup.nsx").string());
        EXPECT_EQ(fs::file_size(Dir() / "setup.nsx"), 32u + ZeroPadded(plain).size());
        DecryptProjectFile((Dir() / "setup.nsx").string(), (Dir() / "back.inf").string());
        EXPECT_EQ(ReadFile(Dir() / "back.inf"), plain.substr(0, plain.find_last_not_of('\0') + 1));
        fs::remove(Dir() / "setup.nsx");
    }
}

TEST_F(CvpackContainer, WrongContainerFailsWithTheCipherMessageAndLeavesNoOutput) {
    std::string in = (Dir() / "plain.txt").string(), out = (Dir() / "out.txt").string();
    WriteFile(in, std::string(100, 'x'));
    EXPECT_EQ(ErrorOf([&] { DecryptProjectFile(in, out); }),
              "FileCrypt ERROR: File " + in + " cannot be Correctly Decrypted!");
    EXPECT_FALSE(fs::exists(out));
}

TEST_F(CvpackContainer, FailureAfterTruncatingAnOldOutputRemovesIt) {
    std::string in = (Dir() / "plain.txt").string(), out = (Dir() / "out.txt").string();
    WriteFile(in, "short");
    WriteFile(out, "an older result");
    EXPECT_NE(ErrorOf([&] { DecryptProjectFile(in, out); }), "no error");
    EXPECT_FALSE(fs::exists(out));
}

TEST_F(CvpackContainer, UnreadableInputLeavesAnOldOutputAlone) {
    std::string in = (Dir() / "missing.nsx").string(), out = (Dir() / "out.txt").string();
    WriteFile(out, "an older result");
    EXPECT_EQ(ErrorOf([&] { DecryptProjectFile(in, out); }),
              "FileCrypt ERROR: Cannot open File " + in + "!");
    EXPECT_EQ(ReadFile(out), "an older result");
}

TEST_F(CvpackContainer, SameFileUnderTwoSpellingsIsRefused) {
    std::string in = (Dir() / "a.inf").string(), out = (Dir() / "." / "a.inf").string();
    WriteFile(in, "keep me");
    EXPECT_EQ(ErrorOf([&] { EncryptProjectFile(in, out); }),
              "FileCrypt ERROR: The same File for Input and Output " + in + "!");
    EXPECT_EQ(ErrorOf([&] { EncryptProjectFile(in, in); }),
              "FileCrypt ERROR: The same File for Input and Output " + in + "!");
    EXPECT_EQ(ReadFile(in), "keep me");
}

// ---- engine lookup -------------------------------------------------------------

TEST(CvpackEngine, NamedEngineMustExist) {
    EXPECT_TRUE(StartsWith(ErrorOf([] { LocateEngine("/no/such/setup.exe", nullptr, "/"); }),
                           "/no/such/setup.exe: no such engine file (named by --engine)"));
    EXPECT_TRUE(StartsWith(ErrorOf([] { LocateEngine("", "/no/such/setup.exe", "/"); }),
                           "/no/such/setup.exe: no such engine file (named by CVPACK_ENGINE)"));
}

TEST(CvpackEngine, OptionBeforeEnvironmentBeforeBuildTree) {
    TempFolder temp;
    fs::path tools = temp.Path() / "native" / "tools" / "cvpack";
    fs::create_directories(tools);
    EXPECT_EQ(LocateEngine("", nullptr, tools.string()), "");

    fs::path sibling = temp.Path() / "win" / "src" / "setup.exe";
    WriteFile(sibling, "MZ");
    EXPECT_EQ(fs::path(LocateEngine("", nullptr, tools.string())), sibling);
    fs::path sameTree = temp.Path() / "native" / "src" / "setup.exe";
    WriteFile(sameTree, "MZ");
    EXPECT_EQ(fs::path(LocateEngine("", nullptr, tools.string())), sameTree);

    fs::path named = temp.Path() / "named.exe";
    WriteFile(named, "MZ");
    EXPECT_EQ(LocateEngine("", named.c_str(), tools.string()), named.string());
    EXPECT_EQ(LocateEngine(sibling.string(), named.c_str(), tools.string()), sibling.string());
}

TEST(CvpackEngine, UninstallerIsNamedOrFoundBesideTheEngine) {
    TempFolder temp;
    EXPECT_TRUE(StartsWith(ErrorOf([] { LocateUninstaller("/no/such/cvexec.exe", ""); }),
                           "/no/such/cvexec.exe: no such uninstaller file (named by --uninstaller)"));
    fs::path engine = temp.Path() / "src" / "setup.exe";
    WriteFile(engine, "MZ");
    EXPECT_EQ(LocateUninstaller("", engine.string()), "");
    EXPECT_EQ(LocateUninstaller("", ""), "");
    WriteFile(temp.Path() / "src" / "cvexec.exe", "MZ");
    EXPECT_EQ(fs::path(LocateUninstaller("", engine.string())), temp.Path() / "src" / "cvexec.exe");
    fs::path named = temp.Path() / "other.exe";
    WriteFile(named, "MZ");
    EXPECT_EQ(LocateUninstaller(named.string(), engine.string()), named.string());
}

// ---- build -----------------------------------------------------------------------

class CvpackBuild : public ::testing::Test {
protected:
    void SetUp() override {
        m_project = m_temp.Path() / "proj";
        m_out = m_temp.Path() / "out";
        WriteFile(m_project / "setup.inf", "[APPINFO]\na1=Demo\n");
        WriteFile(m_project / "data.inf", kDataList);
        WriteFile(m_project / "bin" / "app.exe", "MZ app");
        WriteFile(m_project / "docs" / "readme.txt", "read me");
        WriteFile(m_project / "theme" / "welcome.lcd", "[DIALOG]\n");
        WriteFile(m_project / "theme" / "pics" / "logo.bmp", "BM");
        WriteFile(m_project / "languages" / "German.lan", "[LANG]\n");
        WriteFile(m_project / "language.lan", "[MSG]\n");
        WriteFile(m_project / "SupportFiles" / "addon.exe", "MZ addon");
        WriteFile(m_project / "mergemod.msi", "MSI");
        WriteFile(m_project / "working" / "license.txt", "license");
        WriteFile(m_project / "working" / "setup.ico", "icon");
    }

    BuildSummary Build(const std::string& engine = "", const std::string& uninstaller = "") {
        BuildOptions options;
        options.enginePath = engine;
        options.uninstallerPath = uninstaller;
        return BuildProject(m_project.string(), m_out.string(), options);
    }

    std::string BuildError() {
        return ErrorOf([this] { Build(); });
    }

    std::string Decrypted(const char* name) {
        fs::path plain = m_temp.Path() / (std::string(name) + ".plain");
        DecryptProjectFile((m_out / name).string(), plain.string());
        return ReadFile(plain);
    }

    // Three records: a local file, a web item, a local file in a sub-folder.
    static constexpr const char* kDataList =
        "bin\\app.exe\n"
        "Destination Computer\\<InstallDir>\\*0*0*1|Main\n"
        "http://example.com/extra.zip\n"
        "Destination Computer\\<InstallDir>\\*0*0*2|Extras\n"
        "docs/readme.txt\n"
        "Destination Computer\\<InstallDir>\\docs\\*32*255*3|";

    TempFolder m_temp;
    fs::path m_project;
    fs::path m_out;
};

TEST_F(CvpackBuild, WritesTheShippingFolder) {
    BuildSummary summary = Build();
    EXPECT_EQ(summary.payloadFiles, 2u);
    EXPECT_EQ(summary.webItems, 1u);
    EXPECT_EQ(summary.workingFiles, 2u);
    EXPECT_EQ(Decrypted("setup.nsx"), "[APPINFO]\na1=Demo\n");
    EXPECT_EQ(Decrypted("data.nsx"),
              "bin\\app.exe\r\n"
              "Destination Computer\\<InstallDir>\\*0*0*1|Main\r\n"
              "http://example.com/extra.zip\r\n"
              "Destination Computer\\<InstallDir>\\*0*0*2|Extras\r\n"
              "docs/readme.txt\r\n"
              "Destination Computer\\<InstallDir>\\docs\\*32*255*3|\r\n");
    EXPECT_EQ(ReadFile(m_out / "theme" / "welcome.lcd"), "[DIALOG]\n");
    EXPECT_EQ(ReadFile(m_out / "theme" / "pics" / "logo.bmp"), "BM");
    EXPECT_EQ(ReadFile(m_out / "languages" / "German.lan"), "[LANG]\n");
    EXPECT_EQ(ReadFile(m_out / "language.lan"), "[MSG]\n");
    EXPECT_EQ(ReadFile(m_out / "SupportFiles" / "addon.exe"), "MZ addon");
    EXPECT_EQ(ReadFile(m_out / "mergemod.msi"), "MSI");
    EXPECT_EQ(ReadFile(m_out / "file1.cab").substr(0, 4), "MSCF");
    EXPECT_FALSE(fs::exists(m_out / "setup.exe"));
    EXPECT_FALSE(fs::exists(m_out / "data.inf.plain"));
    EXPECT_TRUE(Leftovers(m_out).empty());
}

TEST_F(CvpackBuild, CabinetHoldsPayloadUnderStoredNamesAndWorkingFilesFlat) {
    if (!HaveCabextract()) GTEST_SKIP() << "cabextract not installed";
    Build();
    std::vector<std::string> expected = {"F0_app.exe", "F2_readme.txt", "license.txt", "setup.ico"};
    EXPECT_EQ(CabinetNames(m_out / "file1.cab"), expected);
    fs::path extracted = m_temp.Path() / "extracted";
    ExtractCabinet(m_out / "file1.cab", extracted);
    EXPECT_EQ(ReadFile(extracted / "F0_app.exe"), "MZ app");
    EXPECT_EQ(ReadFile(extracted / "F2_readme.txt"), "read me");
    EXPECT_EQ(ReadFile(extracted / "license.txt"), "license");
    EXPECT_EQ(ReadFile(extracted / "setup.ico"), "icon");
}

// The data resource a small engine carries to tell it from another, or what
// the file is when it is no program.
std::string EngineTag(const fs::path& program) {
    const std::string bytes = ReadFile(program);
    try {
        const pe::Image image(bytes);
        for (const pe::Resource& r : pe::ReadResources(image.ResourceBytes(), image.ResourceRva()))
            if (pe::IsType(r, 10)) return r.data;
    } catch (const std::exception& e) {
        return e.what();
    }
    return "";
}

void WriteEngine(const fs::path& path, const std::string& tag) {
    WriteFile(path, tinyengine::Build(tinyengine::Resources(tag)));
}

// The shipped engine is stamped with the product's name; one that cannot be
// stamped fails the build, naming the reason, and nothing is written.
TEST_F(CvpackBuild, ShipsTheEngineWhenGivenStampedWithTheProduct) {
    WriteEngine(m_temp.Path() / "engine" / "setup.exe", "engine");
    Build((m_temp.Path() / "engine" / "setup.exe").string());
    EXPECT_EQ(EngineTag(m_out / "setup.exe"), "engine");
    EXPECT_NE(ReadFile(m_out / "setup.exe").find(std::string("D\0e\0m\0o\0 \0S\0e\0t\0u\0p\0", 20)),
              std::string::npos);

    fs::remove_all(m_out);
    WriteFile(m_temp.Path() / "engine" / "setup.exe", "MZ engine");
    EXPECT_NE(ErrorOf([this] { Build((m_temp.Path() / "engine" / "setup.exe").string()); })
                  .find("setup.exe: cannot stamp the product's name and icon: not a Windows program"),
              std::string::npos);
    EXPECT_FALSE(fs::exists(m_out));
}

// A per-user project ships the variants that ask for no elevation, under the
// ordinary names; without them the build fails and writes nothing.
TEST_F(CvpackBuild, PerUserProjectShipsTheVariantsThatAskForNoElevation) {
    if (!HaveCabextract()) GTEST_SKIP() << "cabextract not installed";
    const fs::path engine = m_temp.Path() / "engine";
    WriteEngine(engine / "setup.exe", "elevated engine");
    WriteFile(engine / "cvexec.exe", "MZ elevated uninstaller");
    WriteFile(m_project / "setup.inf", "[APPINFO]\na1=Demo\na8=Per-User\n");
    EXPECT_TRUE(StartsWith(ErrorOf([&] { Build((engine / "setup.exe").string()); }),
                           (engine / "setup-peruser.exe").string() + ": missing"));
    EXPECT_FALSE(fs::exists(m_out));

    WriteEngine(engine / "setup-peruser.exe", "user engine");
    WriteFile(engine / "cvexec-peruser.exe", "MZ user uninstaller");
    Build((engine / "setup.exe").string(), (engine / "cvexec.exe").string());
    EXPECT_EQ(EngineTag(m_out / "setup.exe"), "user engine");
    fs::path extracted = m_temp.Path() / "extracted";
    ExtractCabinet(m_out / "file1.cab", extracted);
    EXPECT_EQ(ReadFile(extracted / "cvexec.exe"), "MZ user uninstaller");

    WriteFile(m_project / "setup.inf", "[APPINFO]\na1=Demo\na8=Per-Machine\n");
    Build((engine / "setup.exe").string(), (engine / "cvexec.exe").string());
    EXPECT_EQ(EngineTag(m_out / "setup.exe"), "elevated engine");
}

TEST_F(CvpackBuild, CabinetRootCarriesTheUninstallerUnlessTheProjectHasItsOwn) {
    if (!HaveCabextract()) GTEST_SKIP() << "cabextract not installed";
    WriteFile(m_temp.Path() / "engine" / "cvexec.exe", "MZ uninstaller");
    EXPECT_FALSE(Build().shipsUninstaller);
    EXPECT_TRUE(Build("", (m_temp.Path() / "engine" / "cvexec.exe").string()).shipsUninstaller);
    std::vector<std::string> expected = {"F0_app.exe", "F2_readme.txt", "license.txt", "setup.ico",
                                         "cvexec.exe"};
    EXPECT_EQ(CabinetNames(m_out / "file1.cab"), expected);
    fs::path extracted = m_temp.Path() / "extracted";
    ExtractCabinet(m_out / "file1.cab", extracted);
    EXPECT_EQ(ReadFile(extracted / "cvexec.exe"), "MZ uninstaller");

    // The project's own, in any case, wins and is not doubled.
    WriteFile(m_project / "working" / "CVEXEC.EXE", "own uninstaller");
    EXPECT_TRUE(Build("", (m_temp.Path() / "engine" / "cvexec.exe").string()).shipsUninstaller);
    expected = {"F0_app.exe", "F2_readme.txt", "CVEXEC.EXE", "license.txt", "setup.ico"};
    EXPECT_EQ(CabinetNames(m_out / "file1.cab"), expected);
}

TEST_F(CvpackBuild, ABuildThatMustShipAnUninstallerRefusesToGoWithout) {
    BuildOptions options;
    options.requireUninstaller = true;
    const std::string error = ErrorOf([&] { BuildProject(m_project.string(), m_out.string(), options); });
    EXPECT_EQ(error, "cvpack: error: no cvexec.exe found (use --uninstaller, or --no-uninstaller to ship "
                     "a product that cannot be removed)");
    EXPECT_FALSE(fs::exists(m_out));
    EXPECT_TRUE(Leftovers(m_out).empty());
    // working/'s own is an uninstaller too.
    WriteFile(m_project / "working" / "cvexec.exe", "own uninstaller");
    EXPECT_TRUE(BuildProject(m_project.string(), m_out.string(), options).shipsUninstaller);
}

TEST_F(CvpackBuild, ThemeDocumentationIsNotShipped) {
    for (const char* note : {"README", "readme.txt", "ReadMe.md", "pics/README.html"})
        WriteFile(m_project / "theme" / note, "for theme authors");
    WriteFile(m_project / "theme" / "readm.txt", "not documentation by its name");
    WriteFile(m_project / "theme" / "myreadme.txt", "nor this one");
    Build();
    for (const char* note : {"README", "readme.txt", "ReadMe.md", "pics/README.html"})
        EXPECT_FALSE(fs::exists(m_out / "theme" / note)) << note;
    EXPECT_TRUE(fs::exists(m_out / "theme" / "readm.txt"));
    EXPECT_TRUE(fs::exists(m_out / "theme" / "myreadme.txt"));
    EXPECT_EQ(ReadFile(m_out / "theme" / "pics" / "logo.bmp"), "BM");
    EXPECT_TRUE(fs::exists(m_project / "theme" / "README"));
}

TEST_F(CvpackBuild, ShipsTheSplashFilesTheSettingsNameBesideTheEngine) {
    WriteFile(m_project / "setup.inf",
              "[SPLASH]\na1=Yes\na2=art\\intro.anim.gif\na5=No\na6=chime.wav\n");
    WriteFile(m_project / "art" / "intro.anim.gif", "GIF89a");
    WriteFile(m_project / "chime.wav", "RIFF");
    Build();
    EXPECT_EQ(ReadFile(m_out / "setup.anim.gif"), "GIF89a");
    EXPECT_FALSE(fs::exists(m_out / "setup.wav"));  // no sound asked for
    WriteFile(m_project / "setup.inf", "[SPLASH]\na1=Yes\na2=gone.gif\n");
    EXPECT_EQ(BuildError(), "setup.inf: splash picture not found: " + (m_project / "gone.gif").string());
}

TEST_F(CvpackBuild, OptionalPartsMayBeAbsent) {
    fs::remove_all(m_project / "languages");
    fs::remove_all(m_project / "working");
    fs::remove(m_project / "language.lan");
    fs::remove_all(m_project / "SupportFiles");
    fs::remove(m_project / "mergemod.msi");
    EXPECT_EQ(Build().workingFiles, 0u);
    EXPECT_FALSE(fs::exists(m_out / "SupportFiles"));
    EXPECT_FALSE(fs::exists(m_out / "languages"));
    EXPECT_FALSE(fs::exists(m_out / "language.lan"));
}

TEST_F(CvpackBuild, EmptyListStillShipsACabinet) {
    WriteFile(m_project / "data.inf", "");
    fs::remove_all(m_project / "working");
    Build();
    EXPECT_EQ(ReadFile(m_out / "file1.cab").substr(0, 4), "MSCF");
    EXPECT_EQ(Decrypted("data.nsx"), "");
}

TEST_F(CvpackBuild, MissingPayloadFileNamesItsLineAndLeavesNothing) {
    fs::remove(m_project / "docs" / "readme.txt");
    std::string error = BuildError();
    EXPECT_TRUE(StartsWith(error, "data.inf:5: payload file not found: ")) << error;
    EXPECT_FALSE(fs::exists(m_out));
    EXPECT_TRUE(Leftovers(m_out).empty());
}

TEST_F(CvpackBuild, MalformedListNamesItsLineAndLeavesNothing) {
    WriteFile(m_project / "data.inf", "bin\\app.exe\r\nDestination Computer\\*0*0|Main\r\n");
    EXPECT_TRUE(StartsWith(BuildError(), "data.inf:2: data line lacks the \"*\" after OSMASK"));
    WriteFile(m_project / "data.inf", "bin\\app.exe\nD\\*0*0*0|\ndocs/readme.txt\n");
    EXPECT_TRUE(StartsWith(BuildError(), "data.inf:3: source line without a data line"));
    EXPECT_FALSE(fs::exists(m_out));
    EXPECT_TRUE(Leftovers(m_out).empty());
}

TEST_F(CvpackBuild, ExistingOutputIsReplacedOnlyOnSuccess) {
    WriteFile(m_out / "old.txt", "previous build");
    fs::remove(m_project / "bin" / "app.exe");
    EXPECT_NE(BuildError(), "no error");
    EXPECT_EQ(ReadFile(m_out / "old.txt"), "previous build");
    EXPECT_TRUE(Leftovers(m_out).empty());

    WriteFile(m_project / "bin" / "app.exe", "MZ app");
    Build();
    EXPECT_FALSE(fs::exists(m_out / "old.txt"));
    EXPECT_TRUE(fs::exists(m_out / "data.nsx"));
    EXPECT_TRUE(Leftovers(m_out).empty());
}

TEST_F(CvpackBuild, FailureWhileWritingRemovesTheTemporaryFolder) {
    // The engine is copied last, after the containers and the cabinet exist.
    WriteFile(m_out / "old.txt", "previous build");
    EXPECT_NE(ErrorOf([this] { Build((m_temp.Path() / "no-engine.exe").string()); }),
              "no error");
    EXPECT_EQ(ReadFile(m_out / "old.txt"), "previous build");
    EXPECT_TRUE(Leftovers(m_out).empty());
}

TEST_F(CvpackBuild, RequiredPartsMustExist) {
    fs::remove_all(m_project / "theme");
    EXPECT_EQ(BuildError(), (m_project / "theme").string() + ": missing folder");
    WriteFile(m_project / "theme" / "a.lcd", "");
    fs::remove(m_project / "setup.inf");
    EXPECT_EQ(BuildError(), (m_project / "setup.inf").string() + ": missing");
    EXPECT_FALSE(fs::exists(m_out));
}

TEST_F(CvpackBuild, WorkingFolderMustBeFlat) {
    WriteFile(m_project / "working" / "sub" / "x.txt", "x");
    EXPECT_NE(BuildError().find("only files belong in working/"), std::string::npos);
    EXPECT_FALSE(fs::exists(m_out));
}

TEST_F(CvpackBuild, StoredNamesMustDifferBeyondCase) {
    WriteFile(m_project / "working" / "f0_APP.exe", "clash");
    EXPECT_NE(BuildError().find("stored name \"f0_APP.exe\" clashes with that of"),
              std::string::npos);
}

TEST_F(CvpackBuild, StoredNamesMustBeNamesTheSetupCanExtract) {
    for (const char* name : {"a|b.txt", "NUL.txt", "x:y.txt"}) {
        WriteFile(m_project / "working" / name, "x");
        EXPECT_NE(BuildError().find(std::string("stored name \"") + name +
                                    "\" is no file name the setup can extract"),
                  std::string::npos)
            << name;
        fs::remove(m_project / "working" / name);
    }
    EXPECT_FALSE(fs::exists(m_out));
}

// Code page 932: "ソ" is 83 5C, "ポ" 83 7C, "ア" 83 41 and "ャ" 83 61.
TEST_F(CvpackBuild, NamesAreReadAndStoredInTheProjectsCodePage) {
    const std::string so = "\x83\x5c", po = "\x83\x7c", a = "\x83\x41", ya = "\x83\x61";
    WriteFile(m_project / "data.inf", "bin\\" + so + "ft.txt\nD\\*0*0*1|\n" + po + ".txt\nD\\*0*0*2|\n");
    WriteFile(m_project / "bin" / (so + "ft.txt"), "so");
    WriteFile(m_project / (po + ".txt"), "po");
    // Second bytes that differ in case only: two names, no clash.
    WriteFile(m_project / "working" / (a + ".txt"), "a");
    WriteFile(m_project / "working" / (ya + ".txt"), "ya");
    BuildOptions options;
    options.codePage = 932;
    BuildProject(m_project.string(), m_out.string(), options);
    // Every name as written, none marked as UTF-8 (0x80): archive (0x20) only.
    const std::map<std::string, unsigned> expected = {
        {"F0_" + so + "ft.txt", 0x20}, {"F1_" + po + ".txt", 0x20}, {a + ".txt", 0x20},
        {ya + ".txt", 0x20},           {"license.txt", 0x20},       {"setup.ico", 0x20}};
    EXPECT_EQ(StoredNamesAndAttributes(m_out / "file1.cab"), expected);
    // Read in a single-byte code page, "ソ" holds a backslash.
    fs::remove_all(m_out);
    EXPECT_NE(BuildError().find("payload file not found"), std::string::npos);
}

// ---- UTF-8 sources and folder entries ----------------------------------------

// "Ü" is C3 9C in UTF-8 and DC in code page 1252, "ß" C3 9F and DF.
TEST_F(CvpackBuild, Utf8SourcesShipInTheCodePageAndFindTheirFilesByUtf8Names) {
    WriteFile(m_project / "setup.inf", "\xEF\xBB\xBF[APPINFO]\na1=Stra\xC3\x9F" "e\n");
    WriteFile(m_project / "data.inf",
              "docs/\xC3\x9C" "bersicht.txt\nD\\*0*0*|Gr\xC3\xB6\xC3\x9F" "e\n"
              "tree\\*\nD\\*0*0*|\n");
    WriteFile(m_project / "docs" / "\xC3\x9C" "bersicht.txt", "overview");
    WriteFile(m_project / "tree" / "\xC3\x9C" "ber" / "a.txt", "a");
    WriteFile(m_project / "languages" / "German.lan", "[LANG]\nx=Schlie\xC3\x9F" "en\n");
    BuildOptions options;
    options.sourceEncoding = SourceEncoding::kUtf8;
    BuildProject(m_project.string(), m_out.string(), options);
    EXPECT_EQ(Decrypted("setup.nsx"), std::string("[APPINFO]\na1=Stra\xDF" "e\n"));
    EXPECT_EQ(Decrypted("data.nsx"), std::string("docs/\xDC" "bersicht.txt\r\nD\\*0*0*1|Gr\xF6\xDF" "e\r\n"
                                                "tree\\\xDC" "ber\\a.txt\r\nD\\\xDC" "ber\\*0*0*2|\r\n"));
    EXPECT_EQ(ReadFile(m_out / "languages" / "German.lan"), "[LANG]\nx=Schlie\xDF" "en\n");
    EXPECT_EQ(ReadFile(m_out / "language.lan"), "[MSG]\n");
    const auto stored = StoredNamesAndAttributes(m_out / "file1.cab");
    EXPECT_EQ(stored.count("F0_\xDC" "bersicht.txt"), 1u);
    EXPECT_EQ(stored.count("F1_a.txt"), 1u);
}

// The setup shows a page-text file with a Unicode mark in Unicode: it ships
// byte for byte, whatever the code page lacks ("Р" Cyrillic in 1252).
TEST_F(CvpackBuild, UnicodeLanguageFilesShipAsWritten) {
    const std::string utf8 = "\xEF\xBB\xBF[LANG]\nx=Zur\xC3\xBC" "ck \xD0\xA0\n";
    const std::string utf16("\xFF\xFE[\0L\0]\0\n\0\x20\x04", 12);
    WriteFile(m_project / "languages" / "German.lan", utf8);
    WriteFile(m_project / "languages" / "Russian.lan", utf16);
    BuildOptions options;
    options.sourceEncoding = SourceEncoding::kUtf8;
    BuildProject(m_project.string(), m_out.string(), options);
    EXPECT_EQ(ReadFile(m_out / "languages" / "German.lan"), utf8);
    EXPECT_EQ(ReadFile(m_out / "languages" / "Russian.lan"), utf16);
    // Bytes that are no UTF-8 are still an error on their line.
    WriteFile(m_project / "languages" / "German.lan", "\xEF\xBB\xBF[LANG]\nx=\xFF\n");
    fs::remove_all(m_out);
    EXPECT_EQ(BuildError(), "languages/German.lan:2: error: invalid UTF-8 (byte 0xFF)");
}

TEST_F(CvpackBuild, EveryCharacterTheCodePageLacksAndEveryMalformedLineIsReported) {
    WriteFile(m_project / "setup.inf", "\xEF\xBB\xBF[APPINFO]\na1=\xFF\n");
    WriteFile(m_project / "data.inf",
              "\xEF\xBB\xBF" "bin\\app.exe\nD\\*0*0*1|\n\xCE\xA9mega.txt\nD\\*0*0*2|\n");
    WriteFile(m_project / "tree" / "\xE2\x84\xA6.txt", "ohm");
    WriteFile(m_project / "languages" / "German.lan", "\xEF\xBB\xBF[LANG]\nx=\xE2\x82\xAC\n");  // 1252 has "€"
    const std::string error = BuildError();
    EXPECT_EQ(error, "setup.inf:2: error: invalid UTF-8 (byte 0xFF)\n"
                     "data.inf:3: error: \"\xCE\xA9\" (U+03A9) cannot be written in code page 1252");
    // A name found by a folder entry is reported on the entry's line.
    WriteFile(m_project / "setup.inf", "[APPINFO]\n");
    WriteFile(m_project / "data.inf", "\xEF\xBB\xBF" "bin\\app.exe\nD\\*0*0*1|\ntree\\*\nD\\*0*0*2|\n");
    EXPECT_EQ(BuildError(), "data.inf:3: error: \"\xE2\x84\xA6\" (U+2126) cannot be written in code "
                            "page 1252 (in the name \xE2\x84\xA6.txt)");
    EXPECT_FALSE(fs::exists(m_out));
    EXPECT_TRUE(Leftovers(m_out).empty());
}

TEST_F(CvpackBuild, AnsiSourcesThatLookLikeUtf8AreWarnedAboutAndShipAsTheyAre) {
    WriteFile(m_project / "data.inf", "docs/\xC3\x9C" "bersicht.txt\nD\\*0*0*1|\nmore\\*\nD\\*0*0*2|\n");
    WriteFile(m_project / "docs" / "\xC3\x9C" "bersicht.txt", "overview");
    WriteFile(m_project / "more" / "\xC3\xA4.txt", "a");
    WriteFile(m_project / "more" / "\xE4.txt", "a in 1252");
    BuildOptions options;
    std::vector<std::string> warnings;
    options.warn = [&](const std::string& warning) { warnings.push_back(warning); };
    BuildProject(m_project.string(), m_out.string(), options);
    const std::string advice = "; add a BOM or use --source-encoding utf-8";
    const std::vector<std::string> expected = {
        "data.inf:1: warning: this line looks like UTF-8 (\"\xC3\x9C" "bersicht\")" + advice,
        "data.inf:3: warning: this line looks like UTF-8 (\"\xC3\xA4\")" + advice};
    EXPECT_EQ(warnings, expected);
    EXPECT_EQ(StoredNamesAndAttributes(m_out / "file1.cab").count("F0_\xC3\x9C" "bersicht.txt"), 1u);
}

// A folder entry stands for the records an author would write by hand, one a
// file, sub-folders appended to DESTDIR, sorted by relative path.
TEST_F(CvpackBuild, FolderEntriesExpandToTheRecordsOfTheirFiles) {
    for (const char* file : {"bin/b.dll", "bin/a.exe", "bin/sub/x.dll", "bin/sub/deeper/y.txt", "bin/c.txt"})
        WriteFile(m_project / "payload" / file, file);
    WriteFile(m_project / "data.inf",
              "payload\\bin\\*.DLL\nDestination Computer\\<InstallDir>\\bin\\*32*255*|Main\n"
              "docs/readme.txt\nDestination Computer\\<InstallDir>\\*0*0*7|\n"
              "payload/bin/*\nDestination Computer\\<InstallDir>\\all*0*0*|\n");
    Build();
    EXPECT_EQ(Decrypted("data.nsx"),
              std::string("payload\\bin\\b.dll\r\nDestination Computer\\<InstallDir>\\bin\\*32*255*1|Main\r\n"
                         "payload\\bin\\sub\\x.dll\r\nDestination Computer\\<InstallDir>\\bin\\sub\\*32*255*2|Main\r\n"
                         "docs/readme.txt\r\nDestination Computer\\<InstallDir>\\*0*0*7|\r\n"
                         "payload/bin/a.exe\r\nDestination Computer\\<InstallDir>\\all*0*0*4|\r\n"
                         "payload/bin/b.dll\r\nDestination Computer\\<InstallDir>\\all*0*0*5|\r\n"
                         "payload/bin/c.txt\r\nDestination Computer\\<InstallDir>\\all*0*0*6|\r\n"
                         "payload/bin/sub\\deeper\\y.txt\r\nDestination Computer\\<InstallDir>\\all\\sub\\deeper\\*0*0*7|\r\n"
                         "payload/bin/sub\\x.dll\r\nDestination Computer\\<InstallDir>\\all\\sub\\*0*0*8|\r\n"));
    const auto stored = StoredNamesAndAttributes(m_out / "file1.cab");
    EXPECT_EQ(stored.count("F1_x.dll"), 1u);
    EXPECT_EQ(stored.count("F6_y.txt"), 1u);

    WriteFile(m_project / "data.inf", "bin\\app.exe\nD\\*0*0*1|\npayload\\*.none\nD\\*0*0*|\n");
    EXPECT_TRUE(StartsWith(BuildError(), "data.inf:3: error: no file matches \"*.none\" in ")) << BuildError();
    WriteFile(m_project / "data.inf", "nowhere/*\nD\\*0*0*|\n");
    EXPECT_TRUE(StartsWith(BuildError(), "data.inf:1: error: folder not found: ")) << BuildError();
}

TEST_F(CvpackBuild, WorkingFilesMayNotTakeThePayloadFolderNames) {
    WriteFile(m_project / "working" / "CVP3", "in the way");
    EXPECT_NE(BuildError().find("stored name \"CVP3\" is reserved for the folders"), std::string::npos);
}

TEST_F(CvpackBuild, OutputMayNotHoldTheProjectOrLieInACopiedFolder) {
    EXPECT_NE(ErrorOf([this] { BuildProject(m_project.string(), m_project.string(), {}); })
                  .find("would replace the project folder"),
              std::string::npos);
    EXPECT_NE(ErrorOf([this] { BuildProject(m_project.string(), m_temp.Path().string(), {}); })
                  .find("would replace the project folder"),
              std::string::npos);
    std::string inTheme = (m_project / "theme" / "out").string();
    EXPECT_NE(ErrorOf([&] { BuildProject(m_project.string(), inTheme, {}); })
                  .find("lies inside the project's theme folder"),
              std::string::npos);
    EXPECT_TRUE(fs::exists(m_project / "setup.inf"));
    // Inside the project but outside the copied folders is fine.
    BuildProject(m_project.string(), (m_project / "dist" / "").string(), {});
    EXPECT_TRUE(fs::exists(m_project / "dist" / "file1.cab"));
}

TEST_F(CvpackBuild, OversizedFileFailsBeforeAnythingIsWritten) {
    // Sparse: no disk space is used.
    fs::resize_file(m_project / "bin" / "app.exe", 2200000000ull);
    std::string error = BuildError();
    EXPECT_NE(error.find("2200000000 bytes is too large for a cabinet"), std::string::npos) << error;
    EXPECT_FALSE(fs::exists(m_out));
    EXPECT_TRUE(Leftovers(m_out).empty());
}

TEST(CvpackCabinet, TotalAboveTheLimitIsRefused) {
    TempFolder temp;
    std::vector<CabinetEntry> entries;
    for (int i = 0; i < 2; ++i) {
        fs::path file = temp.Path() / ("part" + std::to_string(i));
        WriteFile(file, "");
        fs::resize_file(file, 1100000000ull);
        entries.push_back({file.string(), file.filename().string()});
    }
    EXPECT_TRUE(StartsWith(ErrorOf([&] { CheckCabinetEntries(entries); }),
                           "the payload totals 2200000000 bytes"));
    entries.pop_back();
    EXPECT_EQ(ErrorOf([&] { CheckCabinetEntries(entries); }), "no error");
    entries[0].storedName = std::string(256, 'n');
    EXPECT_NE(ErrorOf([&] { CheckCabinetEntries(entries); }).find("must be 1 to 255 bytes"),
              std::string::npos);
}

TEST_F(CvpackBuild, ManyFilesAndMultiBlockContentSurviveTheCabinet) {
    if (!HaveCabextract()) GTEST_SKIP() << "cabextract not installed";
    std::string list;
    for (int i = 0; i < 2000; ++i) {
        std::string name = "many/file" + std::to_string(i) + ".txt";
        WriteFile(m_project / name, "content of " + name);
        list += name + "\nD\\*0*0*0|\n";
    }
    // Several 32 KiB cabinet blocks of poorly compressible bytes.
    std::string big(3 * 1024 * 1024 + 123, '\0');
    uint32_t x = 12345;
    for (char& c : big) c = static_cast<char>((x = x * 1103515245 + 12345) >> 24);
    WriteFile(m_project / "big.bin", big);
    list += "big.bin\nD\\*0*0*0|\n";
    WriteFile(m_project / "data.inf", list);

    EXPECT_EQ(Build().payloadFiles, 2001u);
    EXPECT_EQ(CabinetNames(m_out / "file1.cab").size(), 2003u);
    fs::path extracted = m_temp.Path() / "extracted";
    ExtractCabinet(m_out / "file1.cab", extracted);
    EXPECT_EQ(ReadFile(extracted / "F1999_file1999.txt"), "content of many/file1999.txt");
    EXPECT_TRUE(ReadFile(extracted / "F2000_big.bin") == big);
}

// Only what compression would not shrink is stored: packed data of some size.
TEST(CvpackCabinet, StoresOnlyIncompressibleFilesOfSomeSize) {
    TempFolder dir;
    std::string random(200000, '\0'), text;
    uint32_t x = 2463534242u;
    for (char& c : random) {
        x ^= x << 13, x ^= x >> 17, x ^= x << 5;
        c = static_cast<char>(x & 0xFF);
    }
    for (int i = 0; i < 20000; ++i) text += "line " + std::to_string(i) + "\r\n";
    WriteFile(dir.Path() / "random.bin", random);
    WriteFile(dir.Path() / "small.bin", random.substr(0, 60000));
    WriteFile(dir.Path() / "text.txt", text);
    EXPECT_TRUE(LooksIncompressible((dir.Path() / "random.bin").string()));
    EXPECT_FALSE(LooksIncompressible((dir.Path() / "small.bin").string()));
    EXPECT_FALSE(LooksIncompressible((dir.Path() / "text.txt").string()));
    EXPECT_FALSE(LooksIncompressible((dir.Path() / "missing.bin").string()));
}
