// Placeholder expansion: table order, brackets, backslash pairs, relocation
// and the length cap.
#include <gtest/gtest.h>

#include <cstring>

#include "core/Placeholders.h"

namespace {

core::PlaceholderValues SampleValues() {
    core::PlaceholderValues v;
    v.programFilesFolder = "C:\\Program Files";
    v.systemFolder = "C:\\WINDOWS\\system32\\";
    v.windowsFolder = "C:\\WINDOWS";
    v.commonFilesFolder = "C:\\Program Files\\Common Files";
    v.windowsVolume = "C:";
    v.favoritesFolder = "C:\\Fav";
    v.personalFolder = "C:\\Docs";
    v.picturesFolder = "C:\\Pics";
    v.tempFolder = "C:\\Temp\\";
    v.sendToFolder = "C:\\SendTo";
    v.fontsFolder = "C:\\WINDOWS\\Fonts";
    v.appDataFolder = "C:\\AppData";
    v.localAppDataFolder = "C:\\Local";
    v.userProgramsFolder = "C:\\Local\\Programs";
    v.productName = "Widget";
    v.installDir = "C:\\Program Files\\Widget\\";
    v.productCode = "{1234}";
    v.userName = "alice";
    v.companyName = "Acme";
    v.publisher = "Acme Soft";
    v.productVersion = "2.1";
    return v;
}

std::string Engine(const std::string& text, const core::PlaceholderValues& v) {
    return core::ExpandEngineText(text, v, v.installDir, v.installDir);
}

TEST(Placeholders, EveryRowIsReplacedInBothExpansions) {
    const core::PlaceholderValues v = SampleValues();
    const std::pair<const char*, std::string> rows[] = {
        {"<ProgramFilesFolder>", v.programFilesFolder},
        {"<SystemFolder>", v.systemFolder},
        {"<WindowsFolder>", v.windowsFolder},
        {"<CommonFilesFolder>", v.commonFilesFolder},
        {"<WindowsVolume>", v.windowsVolume},
        {"<FavoritesFolder>", v.favoritesFolder},
        {"<PersonalFolder>", v.personalFolder},
        {"<MyPicturesFolder>", v.picturesFolder},
        {"<TempFolder>", v.tempFolder},
        {"<SendToFolder>", v.sendToFolder},
        {"<FontsFolder>", v.fontsFolder},
        {"<AppDataFolder>", v.appDataFolder},
        {"<LocalAppDataFolder>", v.localAppDataFolder},
        {"<UserProgramsFolder>", v.userProgramsFolder},
        {"<ProductName>", v.productName},
        {"<InstallDir>", v.installDir},
        {"<Install Dir>", v.installDir},
        {"<ProductCode>", v.productCode},
        {"<UserName>", v.userName},
        {"<CompanyName>", v.companyName},
        {"<Publisher>", v.publisher},
        {"<ProductVersion>", v.productVersion},
    };
    for (const auto& row : rows) {
        // "[Name]" is the same placeholder in the setup expansion.
        const std::string name(row.first + 1, std::strlen(row.first) - 2);
        EXPECT_EQ(core::ExpandSetupText("<x>[" + name + "]", v), "<x>" + row.second) << row.first;
        EXPECT_EQ(core::ExpandSetupText(std::string("x") + row.first + "y", v), "x" + row.second + "y")
            << row.first;
        EXPECT_EQ(Engine(std::string("x") + row.first + "y", v), "x" + row.second + "y")
            << row.first;
    }
}

TEST(Placeholders, TextWithoutAngleBracketsIsUnchanged) {
    const core::PlaceholderValues v = SampleValues();
    EXPECT_EQ(core::ExpandSetupText("[ProductName] setup", v), "[ProductName] setup");
    EXPECT_EQ(Engine("[ProductName] setup", v), "[ProductName] setup");
    // Not even backslash pairs are collapsed.
    EXPECT_EQ(core::ExpandSetupText("C:\\\\x", v), "C:\\\\x");
    EXPECT_EQ(core::ExpandSetupText("", v), "");
}

TEST(Placeholders, SquareBracketsCountOnlyInTheSetupExpansion) {
    const core::PlaceholderValues v = SampleValues();
    EXPECT_EQ(core::ExpandSetupText("[ProductName] <ProductVersion>", v), "Widget 2.1");
    EXPECT_EQ(Engine("[ProductName] <ProductVersion>", v), "[ProductName] 2.1");
    // A lone ">" is enough to start the expansion.
    EXPECT_EQ(core::ExpandSetupText("a > b [ProductName]", v), "a > b Widget");
}

TEST(Placeholders, SquareBracketsThatNameNoPlaceholderStay) {
    core::PlaceholderValues v = SampleValues();
    v.variables = {{"<Var>", "value"}, {"Plain", "P"}};
    EXPECT_EQ(core::ExpandSetupText("<ProgramFilesFolder>\\Tool [x64]", v),
              "C:\\Program Files\\Tool [x64]");
    EXPECT_EQ(core::ExpandSetupText("<x>a [x64] [ProductName] [Var] [b", v),
              "<x>a [x64] Widget value [b");
    EXPECT_EQ(core::ExpandSetupText("<x> ] [ ][ProductName][", v), "<x> ] [ ]Widget[");
    // Only the inner pair of nested brackets can name a placeholder.
    EXPECT_EQ(core::ExpandSetupText("<x>[[ProductName]]", v), "<x>[Widget]");
    EXPECT_EQ(core::ExpandSetupText("<x>[Tool [ProductName]]", v), "<x>[Tool Widget]");
    // Brackets around a placeholder, or around a variable named without
    // angle brackets, are ordinary text.
    EXPECT_EQ(core::ExpandSetupText("[<ProductName>]", v), "[Widget]");
    EXPECT_EQ(core::ExpandSetupText("<x>[Plain]", v), "<x>[P]");
    // The case must match, as for the angle form.
    EXPECT_EQ(core::ExpandSetupText("<x>[productname]", v), "<x>[productname]");
}

TEST(Placeholders, MatchingIsCaseSensitive) {
    const core::PlaceholderValues v = SampleValues();
    EXPECT_EQ(core::ExpandSetupText("<productname>", v), "<productname>");
    EXPECT_EQ(core::ExpandSetupText("<PRODUCTNAME>", v), "<PRODUCTNAME>");
    EXPECT_EQ(Engine("<installdir>", v), "<installdir>");
}

TEST(Placeholders, LaterRowsSeeValuesOfEarlierRows) {
    core::PlaceholderValues v = SampleValues();
    v.productName = "Widget in <InstallDir>";
    EXPECT_EQ(core::ExpandSetupText("<ProductName>", v), "Widget in C:\\Program Files\\Widget\\");
    EXPECT_EQ(Engine("<ProductName>", v), "Widget in C:\\Program Files\\Widget\\");
}

TEST(Placeholders, EarlierRowsDoNotSeeValuesOfLaterRows) {
    core::PlaceholderValues v = SampleValues();
    v.publisher = "Makers of <ProductName>";
    EXPECT_EQ(core::ExpandSetupText("<Publisher>", v), "Makers of <ProductName>");
    EXPECT_EQ(Engine("<Publisher>", v), "Makers of <ProductName>");
}

TEST(Placeholders, ARowDoesNotRescanItsOwnValue) {
    core::PlaceholderValues v = SampleValues();
    v.productName = "<ProductName><ProductName>";
    EXPECT_EQ(core::ExpandSetupText("<ProductName>!", v), "<ProductName><ProductName>!");
}

TEST(Placeholders, BackslashRunsBecomeOneButANetworkPathKeepsItsPair) {
    core::PlaceholderValues v = SampleValues();
    EXPECT_EQ(core::ExpandSetupText("<WindowsFolder>\\cvexec.exe", v), "C:\\WINDOWS\\cvexec.exe");
    EXPECT_EQ(Engine("<InstallDir>\\bin", v), v.installDir + "bin");
    v.variables = {{"<Sub>", "\\data"}, {"<Empty>", ""}, {"<Share>", "\\\\server\\pkg\\"}};
    EXPECT_EQ(core::ExpandSetupText("<InstallDir>\\<Sub>", v), v.installDir + "data");
    // An empty value between two backslashes, and pairs the author wrote.
    EXPECT_EQ(Engine("<InstallDir>\\<Empty>\\x", v), v.installDir + "x");
    EXPECT_EQ(core::ExpandSetupText("<a>\\\\\\b", v), "<a>\\b");
    // A network path, written or a value, keeps its leading pair where a path begins.
    EXPECT_EQ(core::ExpandSetupText("\\\\server\\<ProductName>", v), "\\\\server\\Widget");
    EXPECT_EQ(Engine("<Share>\\mergemod.msi", v), "\\\\server\\pkg\\mergemod.msi");
    EXPECT_EQ(Engine("/i \"<Share>m.msi\" /LOG=<Share>x.log", v),
              "/i \"\\\\server\\pkg\\m.msi\" /LOG=\\\\server\\pkg\\x.log");
}

TEST(Placeholders, UpperCaseUserNameOnlyInTheSetupExpansion) {
    const core::PlaceholderValues v = SampleValues();
    EXPECT_EQ(core::ExpandSetupText("<USERNAME>/<UserName>", v), "alice/alice");
    EXPECT_EQ(Engine("<USERNAME>/<UserName>", v), "<USERNAME>/alice");
}

TEST(Placeholders, InstallDirWithBlankIsAnAlias) {
    const core::PlaceholderValues v = SampleValues();
    EXPECT_EQ(core::ExpandSetupText("<Install Dir>readme.txt", v),
              "C:\\Program Files\\Widget\\readme.txt");
    EXPECT_EQ(core::ExpandSetupText("<Install Dir>\\readme.txt", v),
              "C:\\Program Files\\Widget\\readme.txt");
}

TEST(Placeholders, VariablesReplaceTheirNamesInTableOrder) {
    core::PlaceholderValues v = SampleValues();
    v.variables = {{"<First>", "one <Second>"}, {"<Second>", "two"}, {"Plain", "P"}};
    EXPECT_EQ(core::ExpandSetupText("<First>|Plain", v), "one two|P");
    // The other way round, a later variable's value is not expanded again.
    v.variables = {{"<Second>", "two"}, {"<First>", "one <Second>"}};
    EXPECT_EQ(core::ExpandSetupText("<First>", v), "one <Second>");
    EXPECT_EQ(Engine("<First>", v), "one <Second>");
    // Variables come after every table row: a table placeholder in a value stays.
    v.variables = {{"<V>", "<ProductName>"}};
    EXPECT_EQ(core::ExpandSetupText("<V>", v), "<ProductName>");
    // A name without brackets is matched anywhere, once the text holds a bracket.
    v.variables = {{"DIR", "D"}};
    EXPECT_EQ(core::ExpandSetupText("DIR <x> INDIRECT", v), "D <x> IND" "ECT");
    EXPECT_EQ(core::ExpandSetupText("DIR INDIRECT", v), "DIR INDIRECT");
}

TEST(Placeholders, VariableNamesAfterSquareBracketRule) {
    core::PlaceholderValues v = SampleValues();
    v.variables = {{"<Var>", "value"}};
    EXPECT_EQ(core::ExpandSetupText("[Var] <x>", v), "value <x>");
    EXPECT_EQ(Engine("[Var] <x>", v), "[Var] <x>");
}

TEST(Placeholders, EmptyVariableNamesAreIgnored) {
    core::PlaceholderValues v = SampleValues();
    v.variables = {{"", "boom"}, {"<A>", "a"}};
    EXPECT_EQ(core::ExpandSetupText("<A><B>", v), "a<B>");
}

TEST(Placeholders, OnlyTheFirstFiftyVariablesCount) {
    core::PlaceholderValues v = SampleValues();
    for (int i = 0; i < 51; ++i) v.variables.push_back({"<V" + std::to_string(i) + ">", "x"});
    EXPECT_EQ(core::ExpandSetupText("<V49><V50>", v), "x<V50>");
}

TEST(Placeholders, RelocationMovesPathsUnderTheChosenFolder) {
    core::PlaceholderValues v = SampleValues();
    v.installDir = "D:\\Tools\\";
    EXPECT_EQ(core::ExpandEngineText("<WindowsVolume>\\App\\bin\\x.exe", v, "D:\\Tools\\", "C:\\App\\"),
              "D:\\Tools\\\\bin\\x.exe");
    EXPECT_EQ(core::ExpandEngineText("<x> C:\\App\\bin\\x.exe", v, "D:\\Tools\\", "C:\\App\\"),
              "<x> D:\\Tools\\\\bin\\x.exe");
    // Every occurrence moves.
    EXPECT_EQ(core::ExpandEngineText("C:\\App\\a;C:\\App\\b<x>", v, "D:\\T\\", "C:\\App\\"),
              "D:\\T\\\\a;D:\\T\\\\b<x>");
    // Only whole folder names move: a longer name with the same beginning stays.
    EXPECT_EQ(core::ExpandEngineText("C:\\Application<x>", v, "D:\\T\\", "C:\\App\\"),
              "C:\\Application<x>");
    EXPECT_EQ(core::ExpandEngineText("<x>C:\\App", v, "D:\\T\\", "C:\\App\\"), "<x>D:\\T\\");
    // The setup expansion never relocates.
    EXPECT_EQ(core::ExpandSetupText("<x> C:\\App\\bin\\x.exe", v), "<x> C:\\App\\bin\\x.exe");
}

TEST(Placeholders, RelocationLeavesTheChosenFolderAlone) {
    // The chosen folder under the default: <InstallDir> is not moved twice.
    core::PlaceholderValues v = SampleValues();
    v.installDir = "C:\\App\\Sub\\";
    EXPECT_EQ(core::ExpandEngineText("<InstallDir>x", v, "C:\\App\\Sub\\", "C:\\App\\"),
              "C:\\App\\Sub\\x");
    EXPECT_EQ(core::ExpandEngineText("<x>C:\\App\\y", v, "C:\\App\\Sub\\", "C:\\App\\"),
              "<x>C:\\App\\Sub\\\\y");
    // A sibling folder whose name begins with the default's.
    v.installDir = "C:\\Program Files\\Notes2\\";
    EXPECT_EQ(core::ExpandEngineText("<InstallDir>readme.txt", v, v.installDir,
                               "C:\\Program Files\\Notes\\"),
              "C:\\Program Files\\Notes2\\readme.txt");
}

TEST(Placeholders, RelocationSkippedWhenNotApplicable) {
    const core::PlaceholderValues v = SampleValues();
    // No angle bracket: unchanged.
    EXPECT_EQ(core::ExpandEngineText("C:\\App\\bin\\x.exe", v, "D:\\Tools\\", "C:\\App\\"),
              "C:\\App\\bin\\x.exe");
    // Chosen folder equal to the default.
    EXPECT_EQ(core::ExpandEngineText("<x>C:\\App\\bin", v, "C:\\App\\", "C:\\App\\"), "<x>C:\\App\\bin");
    // Chosen folder just a backslash.
    EXPECT_EQ(core::ExpandEngineText("<x>C:\\App\\bin", v, "\\", "C:\\App\\"), "<x>C:\\App\\bin");
    // A default of one character leaves nothing to look for.
    EXPECT_EQ(core::ExpandEngineText("<x>C:\\App\\bin", v, "D:\\", "\\"), "<x>C:\\App\\bin");
    EXPECT_EQ(core::ExpandEngineText("<x>C:\\App\\bin", v, "D:\\", ""), "<x>C:\\App\\bin");
}

TEST(Placeholders, RelocationKeepsTheChosenFoldersBackslash) {
    core::PlaceholderValues v = SampleValues();
    EXPECT_EQ(core::ExpandEngineText("<x>C:\\App\\bin", v, "D:\\T\\", "C:\\App\\"),
              "<x>D:\\T\\\\bin");
}

TEST(Placeholders, SelfReferencingVariableIsBounded) {
    core::PlaceholderValues v = SampleValues();
    v.variables = {{"<Loop>", "<Loop><Loop>"}};
    EXPECT_EQ(core::ExpandSetupText("<Loop>", v), "<Loop><Loop>");
    v.variables = {{"V", "VV"}};
    EXPECT_EQ(core::ExpandSetupText("<V>", v), "<VV>");
}

TEST(Placeholders, FiftyDoublingVariablesStopAtTheCap) {
    core::PlaceholderValues v = SampleValues();
    for (int i = 0; i < 50; ++i) v.variables.push_back({"<D>", "<D><D>"});
    const std::string setup = core::ExpandSetupText("<D>", v);
    const std::string engine = core::ExpandEngineText("<D>", v, "D:\\", "<D>\\");
    EXPECT_EQ(setup.size(), core::kMaxExpandedLength);
    EXPECT_LE(engine.size(), core::kMaxExpandedLength);
    EXPECT_EQ(setup.substr(0, 6), "<D><D>");
}

TEST(Placeholders, ChainedVariablesFeedingEachOtherStayBounded) {
    core::PlaceholderValues v = SampleValues();
    for (int i = 0; i < 50; ++i) {
        const std::string name = "<C" + std::to_string(i) + ">";
        const std::string next = "<C" + std::to_string(i + 1) + ">";
        v.variables.push_back({name, next + next + "\\\\"});
    }
    const std::string out = core::ExpandSetupText("<C0>", v);
    EXPECT_LE(out.size(), core::kMaxExpandedLength);
    EXPECT_EQ(out.substr(0, 5), "<C50>");
}

TEST(Placeholders, LongValuesAreCutAtTheCap) {
    core::PlaceholderValues v = SampleValues();
    v.productName = std::string(core::kMaxExpandedLength + 100, 'n');
    const std::string out = core::ExpandSetupText("ab<ProductName>", v);
    EXPECT_EQ(out.size(), core::kMaxExpandedLength);
    EXPECT_EQ(out.substr(0, 3), "abn");
    // Short results are untouched by the cap.
    v.productName = std::string(1000, 'n');
    EXPECT_EQ(core::ExpandSetupText("<ProductName>", v).size(), 1000u);
}

}  // namespace
