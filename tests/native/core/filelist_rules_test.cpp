// Per-file rules: system masks, features, web items, destinations,
// attributes and the version decision for libraries.
#include <gtest/gtest.h>

#include <string>

#include "core/FeatureTable.h"
#include "install/files/FileRules.h"

using namespace install::filerules;
using core::FeatureTable;
using core::kFeatureExcluded;
using core::kFeatureInstall;

namespace {

const char* const kSystems[] = {"98", "98SE", "ME", "NT4", "2000", "XP", "NET", ""};

TEST(FileRulesMask, ZeroAnd255AndBitOneMeanEverySystem) {
    for (const char* os : kSystems) {
        EXPECT_TRUE(SystemMaskMatches(0, os)) << os;
        EXPECT_TRUE(SystemMaskMatches(255, os)) << os;
        EXPECT_TRUE(SystemMaskMatches(1, os)) << os;
        EXPECT_TRUE(SystemMaskMatches(1 | 4, os)) << os;
    }
}

TEST(FileRulesMask, EachBitNamesOneSystem) {
    const struct {
        int32_t bit;
        const char* name;
    } bits[] = {{2, "98"}, {4, "98SE"}, {8, "ME"}, {16, "NT4"}, {32, "2000"}, {64, "XP"}, {128, "NET"}};
    for (const auto& b : bits) {
        for (const char* os : kSystems) EXPECT_EQ(SystemMaskMatches(b.bit, os), std::string(os) == b.name)
            << b.bit << " " << os;
    }
}

TEST(FileRulesMask, AnySetBitMatches) {
    EXPECT_TRUE(SystemMaskMatches(66, "98"));
    EXPECT_TRUE(SystemMaskMatches(66, "XP"));
    EXPECT_FALSE(SystemMaskMatches(66, "2000"));
    EXPECT_FALSE(SystemMaskMatches(66, "98SE"));
    EXPECT_FALSE(SystemMaskMatches(66, ""));
    EXPECT_TRUE(SystemMaskMatches(254, "NET"));
    EXPECT_FALSE(SystemMaskMatches(254, ""));
    // Names compare exactly.
    EXPECT_FALSE(SystemMaskMatches(64, "xp"));
    EXPECT_FALSE(SystemMaskMatches(2, "98SE"));
}

TEST(FileRulesMask, BitsAbove128NameNoSystem) {
    EXPECT_FALSE(SystemMaskMatches(256, "XP"));
    EXPECT_TRUE(SystemMaskMatches(256 | 64, "XP"));
    EXPECT_TRUE(SystemMaskMatches(511, "ME"));  // bit 1 set
}

TEST(FileRulesFeatures, TableHoldsAtMost100Features) {
    FeatureTable t;
    for (int i = 0; i < 100; ++i) EXPECT_TRUE(t.Add("F" + std::to_string(i)));
    EXPECT_FALSE(t.Add("one too many"));
    EXPECT_EQ(t.Size(), 100u);
    EXPECT_EQ(t.Find("one too many"), -1);
    EXPECT_EQ(t.Find("F99"), 99);
    EXPECT_EQ(t.State(99), kFeatureInstall);
}

TEST(FileRulesFeatures, ExcludedFeatureIsNotCopied) {
    FeatureTable t;
    t.Add("Core");
    t.Add("Help Files");
    EXPECT_FALSE(t.IsExcluded(""));
    EXPECT_FALSE(t.IsExcluded("Core"));
    EXPECT_FALSE(t.IsExcluded("Help Files"));
    t.SetState(1, kFeatureExcluded);
    EXPECT_TRUE(t.IsExcluded("Help Files"));
    // Every "|" is removed before the look-up.
    EXPECT_TRUE(t.IsExcluded("Help| Files|"));
    EXPECT_TRUE(t.IsExcluded("|Help Files"));
    // Exact comparison; unknown names are installed.
    EXPECT_FALSE(t.IsExcluded("help files"));
    EXPECT_FALSE(t.IsExcluded("Nothing"));
    t.SetState(1, kFeatureInstall);
    EXPECT_FALSE(t.IsExcluded("Help Files"));
    t.SetState(7, kFeatureExcluded);  // out of range: ignored
    EXPECT_EQ(t.Size(), 2u);
}

TEST(FileRulesFeatures, AnyNonZeroStateExcludes) {
    FeatureTable t;
    t.Add("X");
    t.SetState(0, 1);
    EXPECT_TRUE(t.IsExcluded("X"));
}

TEST(FileRulesFeatures, FirstEntryOfANameAnswers) {
    FeatureTable t;
    t.Add("Dup");
    t.Add("Dup");
    t.SetState(1, kFeatureExcluded);
    EXPECT_FALSE(t.IsExcluded("Dup"));
    t.SetState(0, kFeatureExcluded);
    EXPECT_TRUE(t.IsExcluded("Dup"));
}

TEST(FileRulesWeb, AddressIsCutAtTheBraceAndNamedAfterTheLastSlash) {
    WebItem w = ParseWebItem("http://example.invalid/dl/tool.exe{NeedTool}");
    EXPECT_EQ(w.address, "http://example.invalid/dl/tool.exe");
    EXPECT_EQ(w.fileName, "tool.exe");
    EXPECT_EQ(w.condition, "NeedTool");

    WebItem plain = ParseWebItem("ftp://example.invalid/a/b/data.bin");
    EXPECT_EQ(plain.address, "ftp://example.invalid/a/b/data.bin");
    EXPECT_EQ(plain.fileName, "data.bin");
    EXPECT_EQ(plain.condition, "");

    WebItem open = ParseWebItem("http://h/x.txt{Cond");
    EXPECT_EQ(open.fileName, "x.txt");
    EXPECT_EQ(open.condition, "Cond");

    WebItem emptyCond = ParseWebItem("http://h/x.txt{}");
    EXPECT_EQ(emptyCond.address, "http://h/x.txt");
    EXPECT_EQ(emptyCond.condition, "");

    WebItem noName = ParseWebItem("http://h/dir/");
    EXPECT_EQ(noName.fileName, "");

    // The digest suffix names neither the request nor the file; the condition follows it.
    const std::string hex(64, 'c');
    WebItem checked = ParseWebItem("https://h:8443/dl/tool.exe#sha256=" + hex + "{NeedTool}");
    EXPECT_EQ(checked.address, "https://h:8443/dl/tool.exe");
    EXPECT_EQ(checked.fileName, "tool.exe");
    EXPECT_EQ(checked.sha256, hex);
    EXPECT_FALSE(checked.badDigest);
    EXPECT_EQ(checked.condition, "NeedTool");
    WebItem bad = ParseWebItem("http://h/tool.exe#sha256=123");
    EXPECT_EQ(bad.fileName, "tool.exe");
    EXPECT_TRUE(bad.badDigest);
}

TEST(FileRulesDestination, DestinationComputerRemovedBackslashAddedNameAppended) {
    EXPECT_EQ(DestinationPath("Destination Computer\\<InstallDir>\\bin\\", "a.dll"), "<InstallDir>\\bin\\a.dll");
    EXPECT_EQ(DestinationPath("Destination Computer\\<InstallDir>", "a.dll"), "<InstallDir>\\a.dll");
    EXPECT_EQ(DestinationPath("<WindowsFolder>\\Destination Computer\\x\\", "b"), "<WindowsFolder>\\x\\b");
    EXPECT_EQ(RemoveDestinationComputer("Destination Computer\\Destination Computer\\d"), "d");
    EXPECT_EQ(RemoveDestinationComputer("destination computer\\d"), "destination computer\\d");
    EXPECT_EQ(DirectoryToCreate("Destination Computer\\<InstallDir>\\data"), "<InstallDir>\\data");
    // A web item's target: the directory followed by the name after the last "/".
    WebItem w = ParseWebItem("http://h/p/setup.msi{C}");
    EXPECT_EQ(DestinationPath("Destination Computer\\<InstallDir>\\dl\\", w.fileName), "<InstallDir>\\dl\\setup.msi");
}

TEST(FileRulesAttributes, ReadOnlyFollowsTheFlagsHiddenAndSystemAreOnlyAdded) {
    EXPECT_EQ(AttributesAfterInstall(0x20, 0), 0x20u);
    EXPECT_EQ(AttributesAfterInstall(0x21, 0), 0x20u);  // read-only cleared
    EXPECT_EQ(AttributesAfterInstall(0x20, kFlagReadOnly), 0x21u);
    EXPECT_EQ(AttributesAfterInstall(0x20, kFlagReadOnlyToo), 0x21u);
    EXPECT_EQ(AttributesAfterInstall(0x20, kFlagHidden | kFlagSystem), 0x26u);
    EXPECT_EQ(AttributesAfterInstall(0x26, 0), 0x26u);  // hidden and system stay
    EXPECT_EQ(AttributesAfterInstall(0x80, 0), 0x80u);
    EXPECT_EQ(AttributesAfterInstall(0x01, 0), 0x80u);  // nothing left: normal
    EXPECT_EQ(AttributesAfterInstall(0x80, kFlagHidden), 0x02u);
    EXPECT_EQ(AttributesAfterInstall(0x20, kFlagCritical | kFlagPermanent | kFlagSelfRegister), 0x20u);
}

TEST(FileRulesFlags, NamedBits) {
    EXPECT_EQ(kFlagReadOnly, 1);
    EXPECT_EQ(kFlagReadOnlyToo, 2);
    EXPECT_EQ(kFlagHidden, 4);
    EXPECT_EQ(kFlagSystem, 8);
    EXPECT_EQ(kFlagCritical, 16);
    EXPECT_EQ(kFlagOnlyIfAbsent, 32);
    EXPECT_EQ(kFlagPermanent, 64);
    EXPECT_EQ(kFlagSelfRegister, 128);
    EXPECT_EQ(kFlagExpandContent, 256);
    EXPECT_TRUE(HasFlag(129, kFlagSelfRegister));
    EXPECT_FALSE(HasFlag(129, kFlagReadOnlyToo));
}

TEST(FileRulesVersion, LibrariesAreRecognisedByDllOrOcx) {
    EXPECT_TRUE(IsVersionedLibrary("C:\\T\\F0_x.dll"));
    EXPECT_TRUE(IsVersionedLibrary("C:\\T\\F0_X.DLL"));
    EXPECT_TRUE(IsVersionedLibrary("C:\\T\\F1_grid.Ocx"));
    EXPECT_TRUE(IsVersionedLibrary("C:\\T\\my.dll.txt"));  // "contains", as a text test
    EXPECT_FALSE(IsVersionedLibrary("C:\\T\\F0_app.exe"));
    EXPECT_FALSE(IsVersionedLibrary("C:\\T\\F0_dll"));
}

TEST(FileRulesVersion, ParsesNumbersSeparatedByDotsOrCommas) {
    EXPECT_EQ(ParseVersion("1.2.3.4"), (std::vector<uint64_t>{1, 2, 3, 4}));
    EXPECT_EQ(ParseVersion("1, 2, 3, 4"), (std::vector<uint64_t>{1, 2, 3, 4}));
    EXPECT_EQ(ParseVersion("6.1.7601.17514 (win7sp1_rtm.101119-1850)"),
              (std::vector<uint64_t>{6, 1, 7601, 17514}));
    EXPECT_EQ(ParseVersion(" 2.0"), (std::vector<uint64_t>{2, 0}));
    EXPECT_EQ(ParseVersion("3."), (std::vector<uint64_t>{3}));
    EXPECT_EQ(ParseVersion("10.x.5"), (std::vector<uint64_t>{10}));
    EXPECT_TRUE(ParseVersion("").empty());
    EXPECT_TRUE(ParseVersion("v1.2").empty());
    EXPECT_EQ(ParseVersion("99999999999999999999999.1"), (std::vector<uint64_t>{UINT64_MAX, 1}));
}

TEST(FileRulesVersion, ComparesPartByPartAsNumbers) {
    EXPECT_GT(CompareVersions(ParseVersion("1.10"), ParseVersion("1.9")), 0);
    EXPECT_LT(CompareVersions(ParseVersion("1.9"), ParseVersion("1.10")), 0);
    EXPECT_EQ(CompareVersions(ParseVersion("1.2"), ParseVersion("1.2.0.0")), 0);
    EXPECT_GT(CompareVersions(ParseVersion("1.2.0.1"), ParseVersion("1.2")), 0);
    EXPECT_LT(CompareVersions(ParseVersion("2.0.0.0"), ParseVersion("10.0")), 0);
    EXPECT_EQ(CompareVersions(ParseVersion("01.002"), ParseVersion("1.2")), 0);
}

TEST(FileRulesVersion, ReplaceOnlyWhenTheInstallingVersionIsHigher) {
    EXPECT_TRUE(ShouldReplaceByVersion("1.10", "1.9"));
    EXPECT_TRUE(ShouldReplaceByVersion("2.0.0.1", "2.0.0.0"));
    EXPECT_TRUE(ShouldReplaceByVersion("5, 1, 0, 0", "5.0.9.9"));
    EXPECT_FALSE(ShouldReplaceByVersion("1.9", "1.10"));
    EXPECT_FALSE(ShouldReplaceByVersion("1.2.3.4", "1.2.3.4"));
    EXPECT_FALSE(ShouldReplaceByVersion("1, 2, 3, 4", "1.2.3.4"));
    EXPECT_FALSE(ShouldReplaceByVersion("1.2", "1.2.0.0"));
    EXPECT_FALSE(ShouldReplaceByVersion("1.0", "2.0"));
}

TEST(FileRulesVersion, MissingVersions) {
    EXPECT_FALSE(ShouldReplaceByVersion("", ""));          // both lack one: keep
    EXPECT_TRUE(ShouldReplaceByVersion("1.0.0.0", ""));    // only the installing file has one
    EXPECT_FALSE(ShouldReplaceByVersion("", "1.0.0.0"));   // only the existing file has one
    EXPECT_FALSE(ShouldReplaceByVersion("beta", "alpha"));  // texts without numbers count as none
    EXPECT_TRUE(ShouldReplaceByVersion("0.0.0.1", "unknown"));
}

TEST(FileRulesBackup, ReplacedFilesWaitOnTheDestinationsVolume) {
    const std::string uninstall = "C:\\Windows\\Installer\\{P}\\";
    EXPECT_EQ(BackupFolder("C:\\", "c:\\", uninstall, "{P}", "9f3a"), uninstall + "Backup\\");
    EXPECT_EQ(BackupFolder("D:\\", "C:\\", uninstall, "{P}", "9f3a"), "D:\\Rollback.{P}.9f3a\\");
    EXPECT_EQ(BackupFolder("C:\\Mount\\", "C:\\", uninstall, "{P}", "07"), "C:\\Mount\\Rollback.{P}.07\\");
    EXPECT_EQ(BackupFolder("", "C:\\", uninstall, "{P}", "07"), "");
    EXPECT_EQ(BackupName(3, "C:\\App\\lib.dll"), "3_lib.dll");
    EXPECT_EQ(BackupName(0, "a.txt"), "0_a.txt");
}

TEST(FileRulesRestart, PendingDeletionsAreThePairsWithoutTarget) {
    using namespace std::string_literals;
    const std::string value = "\\??\\C:\\App\\a.txt\0\0\\??\\C:\\Old\0\\??\\C:\\New\0\\??\\C:\\App\0\0\0"s;
    EXPECT_EQ(PendingDeletions(value), (std::vector<std::string>{"C:\\App\\a.txt", "C:\\App"}));
    EXPECT_TRUE(PendingDeletions("").empty());
    // A source cut short of its target names no deletion.
    EXPECT_TRUE(PendingDeletions("\\??\\C:\\x"s).empty());
}

}  // namespace
