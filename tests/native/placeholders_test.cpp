// Placeholder expansion: table order, brackets, backslash pairs, relocation
// and the length cap.
#include <gtest/gtest.h>


#include "core/Placeholders.h"

namespace {

PlaceholderValues SampleValues() {
    PlaceholderValues v;
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
    v.productName = "Widget";
    v.installDir = "C:\\Program Files\\Widget\\";
    v.productCode = "{1234}";
    v.userName = "alice";
    v.companyName = "Acme";
    v.publisher = "Acme Soft";
    v.productVersion = "2.1";
    return v;
}

std::string Engine(const std::string& text, const PlaceholderValues& v) {
    return ExpandEngineText(text, v, v.installDir, v.installDir);
}

TEST(Placeholders, EveryRowIsReplacedInBothExpansions) {
    const PlaceholderValues v = SampleValues();
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
        // Square brackets turn into angle brackets before the rows run.
        EXPECT_EQ(ExpandSetupText(std::string("[") + row.first + "]", v),
                  "<" + row.second + ">")
            << row.first;
        EXPECT_EQ(ExpandSetupText(std::string("x") + row.first + "y", v), "x" + row.second + "y")
            << row.first;
        EXPECT_EQ(Engine(std::string("x") + row.first + "y", v), "x" + row.second + "y")
            << row.first;
    }
}

TEST(Placeholders, TextWithoutAngleBracketsIsUnchanged) {
    const PlaceholderValues v = SampleValues();
    EXPECT_EQ(ExpandSetupText("[ProductName] setup", v), "[ProductName] setup");
    EXPECT_EQ(Engine("[ProductName] setup", v), "[ProductName] setup");
    // Not even backslash pairs are collapsed.
    EXPECT_EQ(ExpandSetupText("C:\\\\x", v), "C:\\\\x");
    EXPECT_EQ(ExpandSetupText("", v), "");
}

TEST(Placeholders, SquareBracketsCountOnlyInTheSetupExpansion) {
    const PlaceholderValues v = SampleValues();
    EXPECT_EQ(ExpandSetupText("[ProductName] <ProductVersion>", v), "Widget 2.1");
    EXPECT_EQ(Engine("[ProductName] <ProductVersion>", v), "[ProductName] 2.1");
    // A lone ">" is enough to start the expansion.
    EXPECT_EQ(ExpandSetupText("a > b [ProductName]", v), "a > b Widget");
}

TEST(Placeholders, MatchingIsCaseSensitive) {
    const PlaceholderValues v = SampleValues();
    EXPECT_EQ(ExpandSetupText("<productname>", v), "<productname>");
    EXPECT_EQ(ExpandSetupText("<PRODUCTNAME>", v), "<PRODUCTNAME>");
    EXPECT_EQ(Engine("<installdir>", v), "<installdir>");
}

TEST(Placeholders, LaterRowsSeeValuesOfEarlierRows) {
    PlaceholderValues v = SampleValues();
    v.productName = "Widget in <InstallDir>";
    EXPECT_EQ(ExpandSetupText("<ProductName>", v), "Widget in C:\\Program Files\\Widget\\");
    EXPECT_EQ(Engine("<ProductName>", v), "Widget in C:\\Program Files\\Widget\\");
}

TEST(Placeholders, EarlierRowsDoNotSeeValuesOfLaterRows) {
    PlaceholderValues v = SampleValues();
    v.publisher = "Makers of <ProductName>";
    EXPECT_EQ(ExpandSetupText("<Publisher>", v), "Makers of <ProductName>");
    EXPECT_EQ(Engine("<Publisher>", v), "Makers of <ProductName>");
}

TEST(Placeholders, ARowDoesNotRescanItsOwnValue) {
    PlaceholderValues v = SampleValues();
    v.productName = "<ProductName><ProductName>";
    EXPECT_EQ(ExpandSetupText("<ProductName>!", v), "<ProductName><ProductName>!");
}

TEST(Placeholders, BackslashPairsCollapse) {
    const PlaceholderValues v = SampleValues();
    EXPECT_EQ(ExpandSetupText("<WindowsFolder>\\cvexec.exe", v), "C:\\WINDOWS\\cvexec.exe");
    EXPECT_EQ(ExpandSetupText("<SystemFolder>\\msiexec.exe", v),
              "C:\\WINDOWS\\system32\\msiexec.exe");
    EXPECT_EQ(Engine("<SystemFolder>\\msiexec.exe", v), "C:\\WINDOWS\\system32\\msiexec.exe");
    // One left-to-right pass over pairs: three become two, four become two.
    EXPECT_EQ(ExpandSetupText("<a>\\\\\\b", v), "<a>\\\\b");
    EXPECT_EQ(ExpandSetupText("<a>\\\\\\\\b", v), "<a>\\\\b");
    // UNC paths lose their leading pair too.
    EXPECT_EQ(ExpandSetupText("\\\\server\\<ProductName>", v), "\\server\\Widget");
}

TEST(Placeholders, UpperCaseUserNameOnlyInTheSetupExpansion) {
    const PlaceholderValues v = SampleValues();
    EXPECT_EQ(ExpandSetupText("<USERNAME>/<UserName>", v), "alice/alice");
    EXPECT_EQ(Engine("<USERNAME>/<UserName>", v), "<USERNAME>/alice");
}

TEST(Placeholders, InstallDirWithBlankIsAnAlias) {
    const PlaceholderValues v = SampleValues();
    EXPECT_EQ(ExpandSetupText("<Install Dir>readme.txt", v),
              "C:\\Program Files\\Widget\\readme.txt");
    EXPECT_EQ(ExpandSetupText("<Install Dir>\\readme.txt", v),
              "C:\\Program Files\\Widget\\readme.txt");
}

TEST(Placeholders, VariablesReplaceTheirNamesInTableOrder) {
    PlaceholderValues v = SampleValues();
    v.variables = {{"<First>", "one <Second>"}, {"<Second>", "two"}, {"Plain", "P"}};
    EXPECT_EQ(ExpandSetupText("<First>|Plain", v), "one two|P");
    // The other way round, a later variable's value is not expanded again.
    v.variables = {{"<Second>", "two"}, {"<First>", "one <Second>"}};
    EXPECT_EQ(ExpandSetupText("<First>", v), "one <Second>");
    EXPECT_EQ(Engine("<First>", v), "one <Second>");
    // Variables come after every table row: a table placeholder in a value stays.
    v.variables = {{"<V>", "<ProductName>"}};
    EXPECT_EQ(ExpandSetupText("<V>", v), "<ProductName>");
    // A name without brackets is matched anywhere, once the text holds a bracket.
    v.variables = {{"DIR", "D"}};
    EXPECT_EQ(ExpandSetupText("DIR <x> INDIRECT", v), "D <x> IND" "ECT");
    EXPECT_EQ(ExpandSetupText("DIR INDIRECT", v), "DIR INDIRECT");
}

TEST(Placeholders, VariableNamesAfterSquareBracketRule) {
    PlaceholderValues v = SampleValues();
    v.variables = {{"<Var>", "value"}};
    EXPECT_EQ(ExpandSetupText("[Var] <x>", v), "value <x>");
    EXPECT_EQ(Engine("[Var] <x>", v), "[Var] <x>");
}

TEST(Placeholders, EmptyVariableNamesAreIgnored) {
    PlaceholderValues v = SampleValues();
    v.variables = {{"", "boom"}, {"<A>", "a"}};
    EXPECT_EQ(ExpandSetupText("<A><B>", v), "a<B>");
}

TEST(Placeholders, OnlyTheFirstFiftyVariablesCount) {
    PlaceholderValues v = SampleValues();
    for (int i = 0; i < 51; ++i) v.variables.push_back({"<V" + std::to_string(i) + ">", "x"});
    EXPECT_EQ(ExpandSetupText("<V49><V50>", v), "x<V50>");
}

TEST(Placeholders, RelocationMovesPathsUnderTheChosenFolder) {
    PlaceholderValues v = SampleValues();
    v.installDir = "D:\\Tools\\";
    EXPECT_EQ(ExpandEngineText("<WindowsVolume>\\App\\bin\\x.exe", v, "D:\\Tools\\", "C:\\App\\"),
              "D:\\Tools\\\\bin\\x.exe");
    EXPECT_EQ(ExpandEngineText("<x> C:\\App\\bin\\x.exe", v, "D:\\Tools\\", "C:\\App\\"),
              "<x> D:\\Tools\\\\bin\\x.exe");
    // Every occurrence moves.
    EXPECT_EQ(ExpandEngineText("C:\\App\\a;C:\\App\\b<x>", v, "D:\\T\\", "C:\\App\\"),
              "D:\\T\\\\a;D:\\T\\\\b<x>");
    // Only whole folder names move: a longer name with the same beginning stays.
    EXPECT_EQ(ExpandEngineText("C:\\Application<x>", v, "D:\\T\\", "C:\\App\\"),
              "C:\\Application<x>");
    EXPECT_EQ(ExpandEngineText("<x>C:\\App", v, "D:\\T\\", "C:\\App\\"), "<x>D:\\T\\");
    // The setup expansion never relocates.
    EXPECT_EQ(ExpandSetupText("<x> C:\\App\\bin\\x.exe", v), "<x> C:\\App\\bin\\x.exe");
}

TEST(Placeholders, RelocationLeavesTheChosenFolderAlone) {
    // The chosen folder under the default: <InstallDir> is not moved twice.
    PlaceholderValues v = SampleValues();
    v.installDir = "C:\\App\\Sub\\";
    EXPECT_EQ(ExpandEngineText("<InstallDir>x", v, "C:\\App\\Sub\\", "C:\\App\\"),
              "C:\\App\\Sub\\x");
    EXPECT_EQ(ExpandEngineText("<x>C:\\App\\y", v, "C:\\App\\Sub\\", "C:\\App\\"),
              "<x>C:\\App\\Sub\\\\y");
    // A sibling folder whose name begins with the default's.
    v.installDir = "C:\\Program Files\\Notes2\\";
    EXPECT_EQ(ExpandEngineText("<InstallDir>readme.txt", v, v.installDir,
                               "C:\\Program Files\\Notes\\"),
              "C:\\Program Files\\Notes2\\readme.txt");
}

TEST(Placeholders, RelocationSkippedWhenNotApplicable) {
    const PlaceholderValues v = SampleValues();
    // No angle bracket: unchanged.
    EXPECT_EQ(ExpandEngineText("C:\\App\\bin\\x.exe", v, "D:\\Tools\\", "C:\\App\\"),
              "C:\\App\\bin\\x.exe");
    // Chosen folder equal to the default.
    EXPECT_EQ(ExpandEngineText("<x>C:\\App\\bin", v, "C:\\App\\", "C:\\App\\"), "<x>C:\\App\\bin");
    // Chosen folder just a backslash.
    EXPECT_EQ(ExpandEngineText("<x>C:\\App\\bin", v, "\\", "C:\\App\\"), "<x>C:\\App\\bin");
    // A default of one character leaves nothing to look for.
    EXPECT_EQ(ExpandEngineText("<x>C:\\App\\bin", v, "D:\\", "\\"), "<x>C:\\App\\bin");
    EXPECT_EQ(ExpandEngineText("<x>C:\\App\\bin", v, "D:\\", ""), "<x>C:\\App\\bin");
}

TEST(Placeholders, RelocationRunsAfterBackslashPairsCollapse) {
    PlaceholderValues v = SampleValues();
    EXPECT_EQ(ExpandEngineText("<x>C:\\App\\\\bin", v, "D:\\T\\", "C:\\App\\"),
              "<x>D:\\T\\\\bin");
}

TEST(Placeholders, SelfReferencingVariableIsBounded) {
    PlaceholderValues v = SampleValues();
    v.variables = {{"<Loop>", "<Loop><Loop>"}};
    EXPECT_EQ(ExpandSetupText("<Loop>", v), "<Loop><Loop>");
    v.variables = {{"V", "VV"}};
    EXPECT_EQ(ExpandSetupText("<V>", v), "<VV>");
}

TEST(Placeholders, FiftyDoublingVariablesStopAtTheCap) {
    PlaceholderValues v = SampleValues();
    for (int i = 0; i < 50; ++i) v.variables.push_back({"<D>", "<D><D>"});
    const std::string setup = ExpandSetupText("<D>", v);
    const std::string engine = ExpandEngineText("<D>", v, "D:\\", "<D>\\");
    EXPECT_EQ(setup.size(), kMaxExpandedLength);
    EXPECT_LE(engine.size(), kMaxExpandedLength);
    EXPECT_EQ(setup.substr(0, 6), "<D><D>");
}

TEST(Placeholders, ChainedVariablesFeedingEachOtherStayBounded) {
    PlaceholderValues v = SampleValues();
    for (int i = 0; i < 50; ++i) {
        const std::string name = "<C" + std::to_string(i) + ">";
        const std::string next = "<C" + std::to_string(i + 1) + ">";
        v.variables.push_back({name, next + next + "\\\\"});
    }
    const std::string out = ExpandSetupText("<C0>", v);
    EXPECT_LE(out.size(), kMaxExpandedLength);
    EXPECT_EQ(out.substr(0, 5), "<C50>");
}

TEST(Placeholders, LongValuesAreCutAtTheCap) {
    PlaceholderValues v = SampleValues();
    v.productName = std::string(kMaxExpandedLength + 100, 'n');
    const std::string out = ExpandSetupText("ab<ProductName>", v);
    EXPECT_EQ(out.size(), kMaxExpandedLength);
    EXPECT_EQ(out.substr(0, 3), "abn");
    // Short results are untouched by the cap.
    v.productName = std::string(1000, 'n');
    EXPECT_EQ(ExpandSetupText("<ProductName>", v).size(), 1000u);
}

}  // namespace
