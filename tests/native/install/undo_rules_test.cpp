// The rules of a removal: which folder may go whole, the order of folders,
// logged value paths, and the files no removal deletes.
#include "install/shared/UndoRules.h"

#include <gtest/gtest.h>

namespace {

using namespace install::undorules;

constexpr unsigned kWestern = 1252;
constexpr unsigned kJapanese = 932;

const std::vector<std::string> kKept = {
    "C:\\Windows", "C:\\Windows\\system32", "C:\\Program Files", "C:\\Program Files\\Common Files",
    "C:\\Users\\ann", "C:\\Users\\ann\\Desktop", "D:\\Tools\\Uninstaller\\"};

TEST(UndoRules, TheInstallationFolderGoesWholeOnlyWhenLoggedAndNothingKeptIsInIt) {
    const std::vector<std::string> logged = {"C:\\Program Files\\Maker\\App\\", "C:\\Program Files\\Maker\\App\\bin"};
    EXPECT_TRUE(MayRemoveWholeFolder("C:\\Program Files\\Maker\\App\\", logged, kKept, kWestern));
    // Spelled otherwise, the same folder.
    EXPECT_TRUE(MayRemoveWholeFolder("c:/program files/maker/app", logged, kKept, kWestern));
    // Not a folder the run made.
    EXPECT_FALSE(MayRemoveWholeFolder("C:\\Program Files\\Maker\\", logged, kKept, kWestern));
    EXPECT_FALSE(MayRemoveWholeFolder("C:\\Program Files\\Maker\\App\\", {}, kKept, kWestern));

    // Kept folders and their parents, drive and share roots, relative and
    // device paths: never, even when logged.
    for (const std::string folder :
         {"C:\\", "C:", "c:\\windows\\", "C:\\Program Files", "C:\\Program Files\\Common Files",
          "C:\\Users", "C:\\Users\\Ann\\", "D:\\Tools", "D:\\", "\\\\server\\share\\",
          "\\\\server\\share", "\\\\?\\C:\\Windows", "\\\\.\\C:\\Windows", "Windows", "\\Windows", "",
          "C:\\Apps\\..\\Windows", "C:\\Apps\\.", "C:\\Apps\\\\x", "C:Apps"}) {
        EXPECT_FALSE(MayRemoveWholeFolder(folder, {folder}, kKept, kWestern)) << folder;
    }
    // Below a kept folder is fine; a sibling that only begins like one too.
    for (const std::string folder : {"C:\\Windows\\Temp\\App", "C:\\Users\\ann\\AppData\\Tool",
                                     "C:\\Program Files2", "\\\\server\\share\\apps\\tool", "E:\\x"})
        EXPECT_TRUE(MayRemoveWholeFolder(folder, {folder}, kKept, kWestern)) << folder;

    // In code page 932 the second byte of "ソ" (83 5C) is no separator:
    // "C:\ソ" is one folder below the root, and no parent of "C:\ソ\x".
    const std::string so = "C:\\\x83\x5C";
    EXPECT_TRUE(MayRemoveWholeFolder(so, {so}, {"C:\\Windows"}, kJapanese));
    EXPECT_FALSE(MayRemoveWholeFolder(so, {so}, {so + "\\x"}, kJapanese));
    EXPECT_EQ(Depth(so + "\\x\\", kJapanese), 3u);
    EXPECT_EQ(ComparableFolder(so + "\\", kJapanese), "c:\\\x83\x5C");
}

TEST(UndoRules, PathsSplitAndCompareByCharacters) {
    EXPECT_LT(Depth("C:\\App", kWestern), Depth("c:/app/sub/", kWestern));

    const auto value = SplitValuePath("HKEY_CURRENT_USER\\Software\\X\\Name", kWestern);
    ASSERT_TRUE(value);
    EXPECT_EQ(value->key, "HKEY_CURRENT_USER\\Software\\X");
    EXPECT_EQ(value->name, "Name");
    const auto defaultValue = SplitValuePath("HKEY_CLASSES_ROOT\\.cvx\\", kWestern);
    ASSERT_TRUE(defaultValue);
    EXPECT_EQ(defaultValue->key, "HKEY_CLASSES_ROOT\\.cvx");
    EXPECT_EQ(defaultValue->name, "");
    EXPECT_FALSE(SplitValuePath("NoBackslash", kWestern));
    EXPECT_EQ(SplitValuePath("HKEY_CURRENT_USER\\K\\\x83\x5C", kJapanese)->name, "\x83\x5C");

    EXPECT_TRUE(IsEnvironmentVariable("HKEY_CURRENT_USER\\Environment\\Path", kWestern));
    EXPECT_TRUE(IsEnvironmentVariable(
        "HKEY_LOCAL_MACHINE\\System\\CurrentControlSet\\Control\\Session Manager\\Environment\\X", kWestern));
    EXPECT_FALSE(IsEnvironmentVariable("HKEY_CURRENT_USER\\Environment\\", kWestern));
    EXPECT_FALSE(IsEnvironmentVariable("HKEY_CURRENT_USER\\Environment\\Sub\\X", kWestern));
    EXPECT_FALSE(IsEnvironmentVariable("HKEY_LOCAL_MACHINE\\Environment\\X", kWestern));

    EXPECT_TRUE(IsPlainFileName("cleanup.exe", kWestern));
    EXPECT_TRUE(IsPlainFileName("\x83\x5C.exe", kJapanese));
    for (const char* name : {"", ".", "..", "..\\x.exe", "a/b.exe", "C:x.exe", "\x83\x5C.exe"})
        EXPECT_FALSE(IsPlainFileName(name, kWestern)) << name;
}

TEST(UndoRules, TheSharedUninstallerIsKnownInItsFolderOnly) {
    const std::vector<std::string> shared = {"C:\\Windows\\", "D:\\Run"};
    EXPECT_TRUE(IsSharedUninstaller("C:\\Windows\\cvexec.exe", shared, kWestern));
    EXPECT_TRUE(IsSharedUninstaller("c:/windows/CVEXEC.EXE", shared, kWestern));
    EXPECT_TRUE(IsSharedUninstaller("D:\\Run\\cvexec.exe", shared, kWestern));
    EXPECT_FALSE(IsSharedUninstaller("C:\\Windows\\sub\\cvexec.exe", shared, kWestern));
    EXPECT_FALSE(IsSharedUninstaller("C:\\App\\cvexec.exe", shared, kWestern));
    EXPECT_FALSE(IsSharedUninstaller("C:\\Windows\\cvexec.exe.bak", shared, kWestern));
    EXPECT_FALSE(IsSharedUninstaller("cvexec.exe", shared, kWestern));
}

// A folder opened by name is where its name says only when no link led there.
TEST(UndoRules, LiesWhereNamedComparesTheResolvedPath) {
    EXPECT_EQ(DosPathOfFinal("\\\\?\\C:\\App"), "C:\\App");
    EXPECT_EQ(DosPathOfFinal("\\\\?\\UNC\\srv\\share\\App"), "\\\\srv\\share\\App");
    EXPECT_TRUE(LiesWhereNamed("C:\\App\\Docs", "c:\\app\\", "docs", 1252));
    EXPECT_TRUE(LiesWhereNamed("C:\\App", "C:\\", "App", 1252));
    EXPECT_FALSE(LiesWhereNamed("C:\\Windows\\System32", "C:\\App", "Docs", 1252));
    EXPECT_FALSE(LiesWhereNamed("C:\\App\\Docs", "C:\\App", "", 1252));
}

}  // namespace
