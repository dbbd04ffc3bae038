// File-phase building blocks against the real file system: directory paths,
// shell file operations, the uninstall log and version texts.
#include "core/UninstallLog.h"
#include "install/shared/DirectoryPath.h"
#include "install/files/FileMove.h"
#include "install/files/FileRules.h"
#include "install/files/FileVersion.h"
#include "core/ShellFileOps.h"

#include "TestFiles.h"

namespace {

bool IsDirectory(const std::string& p) {
    DWORD a = GetFileAttributesA(p.c_str());
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

TEST(DirectoryPath, CreatesEveryMissingLevel) {
    ScratchFolder dir;
    const std::string deep = dir.Path() + "a\\b\\c\\d";
    EXPECT_TRUE(install::CreateDirectoryPath(deep));
    EXPECT_TRUE(IsDirectory(deep));
    EXPECT_TRUE(install::CreateDirectoryPath(deep + "\\"));  // existing, trailing backslash
}

TEST(DirectoryPath, GivesUpAfterTenAttempts) {
    ScratchFolder dir;
    // Nine missing levels need more than ten creation attempts.
    std::string deep = dir.Path() + "1\\2\\3\\4\\5\\6\\7\\8\\9";
    EXPECT_FALSE(install::CreateDirectoryPath(deep));
    EXPECT_FALSE(IsDirectory(deep));
    // Four missing levels need eight attempts: created.
    EXPECT_TRUE(install::CreateDirectoryPath(dir.Path() + "x\\y\\z\\w"));
}

TEST(DirectoryPath, AFileInTheWayIsAFailure) {
    ScratchFolder dir;
    dir.Write("taken", "file");
    EXPECT_FALSE(install::CreateDirectoryPath(dir.Path() + "taken"));
    EXPECT_FALSE(install::CreateDirectoryPath(dir.Path() + "taken\\below"));
}

TEST(ShellFileOps, CopyFilesTakesFilesOnly) {
    ScratchFolder dir;
    CreateDirectoryA((dir.Path() + "src").c_str(), nullptr);
    CreateDirectoryA((dir.Path() + "src\\sub").c_str(), nullptr);
    CreateDirectoryA((dir.Path() + "dst").c_str(), nullptr);
    dir.Write("src\\a.txt", "a");
    dir.Write("src\\sub\\b.txt", "b");
    EXPECT_TRUE(core::shellops::CopyFiles(dir.Path() + "src\\*.*", dir.Path() + "dst", true));
    EXPECT_EQ(ScratchFolder::Read(dir.Path() + "dst\\a.txt"), "a");
    EXPECT_FALSE(ScratchFolder::Exists(dir.Path() + "dst\\sub"));
}

TEST(ShellFileOps, CopyFilesRefusesPatternsWithoutFiles) {
    ScratchFolder dir;
    CreateDirectoryA((dir.Path() + "only").c_str(), nullptr);
    CreateDirectoryA((dir.Path() + "only\\sub").c_str(), nullptr);
    SetLastError(0);
    EXPECT_FALSE(core::shellops::CopyFiles(dir.Path() + "only\\*", dir.Path() + "dst", true));
    EXPECT_EQ(GetLastError(), core::shellops::kNothingToCopy);
    EXPECT_FALSE(core::shellops::CopyFiles(dir.Path() + "missing\\*.txt", dir.Path() + "dst", true));
}

TEST(ShellFileOps, CopyFolderAndDeleteTree) {
    ScratchFolder dir;
    CreateDirectoryA((dir.Path() + "tree").c_str(), nullptr);
    CreateDirectoryA((dir.Path() + "tree\\sub").c_str(), nullptr);
    const std::string locked = dir.Write("tree\\sub\\ro.txt", "ro");
    SetFileAttributesA(locked.c_str(), FILE_ATTRIBUTE_READONLY);
    EXPECT_TRUE(core::shellops::CopyFolder(dir.Path() + "tree", dir.Path() + "copy", true));
    EXPECT_EQ(ScratchFolder::Read(dir.Path() + "copy\\sub\\ro.txt"), "ro");

    // Standing inside the tree: the delete steps out first.
    char before[MAX_PATH];
    GetCurrentDirectoryA(sizeof before, before);
    SetCurrentDirectoryA((dir.Path() + "tree\\sub").c_str());
    EXPECT_TRUE(core::shellops::Delete(dir.Path() + "tree", true));
    EXPECT_FALSE(ScratchFolder::Exists(dir.Path() + "tree"));

    // The working folder's removal: the same, file by file.
    SetCurrentDirectoryA((dir.Path() + "copy\\sub").c_str());
    EXPECT_TRUE(core::shellops::DeleteFolderIfPresent(dir.Path() + "copy\\"));
    EXPECT_FALSE(ScratchFolder::Exists(dir.Path() + "copy"));
    EXPECT_TRUE(core::shellops::DeleteFolderIfPresent(dir.Path() + "copy"));
    SetCurrentDirectoryA(before);
}

TEST(UninstallLog, StartsAnewAndAppendsLines) {
    ScratchFolder dir;
    const std::string path = dir.Write("uninstall.log", "OLD=1\r\n");
    core::UninstallLogWriter log;
    log.Start(path);
    EXPECT_FALSE(ScratchFolder::Exists(path));
    EXPECT_TRUE(log.Append(core::LogKind::TotalFile, "2"));
    EXPECT_TRUE(log.Append(core::LogKind::Dir, "C:\\App"));
    EXPECT_EQ(ScratchFolder::Read(path), "LOGFORMAT=2\r\nTOTALFILE=2\r\nDIR=C:\\App\r\n");  // readable while open
    log.Close();
    EXPECT_TRUE(log.Append(core::LogKind::File, "C:\\App\\a.txt"));
    log.Close();
    EXPECT_EQ(ScratchFolder::Read(path), "LOGFORMAT=2\r\nTOTALFILE=2\r\nDIR=C:\\App\r\nFILE=C:\\App\\a.txt\r\n");
}

TEST(UninstallLog, TheFirstLineCreatesTheFolder) {
    ScratchFolder dir;
    core::UninstallLogWriter log;
    log.Start(dir.Path() + "Installer\\{CODE}\\uninstall.log");
    EXPECT_TRUE(log.Append(core::LogKind::TotalFile, "3"));
    log.Close();
    EXPECT_EQ(ScratchFolder::Read(dir.Path() + "Installer\\{CODE}\\uninstall.log"), "LOGFORMAT=2\r\nTOTALFILE=3\r\n");
    // A folder name outside ASCII reaches the system as the ANSI bytes it is.
    const std::string ansi = dir.Path() + "Installer\\Prod\x80\xe9\\uninstall.log";
    log.Start(ansi);
    EXPECT_TRUE(log.Append(core::LogKind::TotalFile, "4"));
    log.Close();
    EXPECT_EQ(ScratchFolder::Read(ansi), "LOGFORMAT=2\r\nTOTALFILE=4\r\n");
}

TEST(UninstallLog, AnUnwritablePlaceDropsTheLine) {
    ScratchFolder dir;
    dir.Write("taken", "a file where the folder should be");
    core::UninstallLogWriter log;
    log.Start(dir.Path() + "taken\\uninstall.log");
    EXPECT_FALSE(log.Append(core::LogKind::Dir, "x"));
    log.Close();
    EXPECT_EQ(ScratchFolder::Read(dir.Path() + "taken"), "a file where the folder should be");
}

TEST(FileVersion, ReadsTheVersionTextOfALibrary) {
    const std::string folder = ProgramFolder();
    EXPECT_EQ(install::ReadFileVersionText(folder + "versioned_1_9.dll"), "1.9");
    EXPECT_EQ(install::ReadFileVersionText(folder + "versioned_1_10.dll"), "1.10");
    EXPECT_EQ(install::ReadFileVersionText(folder + "versioned_2_0.dll"), "2, 0, 0, 0");
    EXPECT_EQ(install::ReadFileVersionText(folder + "no-such.dll"), "");
    ScratchFolder dir;
    EXPECT_EQ(install::ReadFileVersionText(dir.Write("plain.dll", "not a library")), "");
}

TEST(FileVersion, TheDecisionComparesNumbersPartByPart) {
    const std::string folder = ProgramFolder();
    auto replaces = [&](const char* installing, const char* existing) {
        return install::filerules::ShouldReplaceByVersion(install::ReadFileVersionText(folder + installing),
                                                 install::ReadFileVersionText(folder + existing));
    };
    EXPECT_TRUE(replaces("versioned_1_10.dll", "versioned_1_9.dll"));
    EXPECT_FALSE(replaces("versioned_1_9.dll", "versioned_1_10.dll"));
    EXPECT_FALSE(replaces("versioned_1_10.dll", "versioned_1_10.dll"));
    EXPECT_TRUE(replaces("versioned_2_0.dll", "versioned_1_10.dll"));
}

TEST(FileMove, ReplacesAnExistingFileAndLeavesNoSource) {
    ScratchFolder dir;
    install::fileops::InheritedPermissions permissions;
    const std::string from = dir.Write("new.txt", "new content");
    const std::string to = dir.Write("old.txt", "the old and longer content");
    EXPECT_TRUE(install::fileops::MoveReplacing(from, to, permissions));
    EXPECT_EQ(ScratchFolder::Read(to), "new content");
    EXPECT_FALSE(ScratchFolder::Exists(from));
    // Into another folder, under another name, and to a new file.
    CreateDirectoryA((dir.Path() + "sub").c_str(), nullptr);
    EXPECT_TRUE(install::fileops::MoveReplacing(to, dir.Path() + "sub\\moved.txt", permissions));
    EXPECT_EQ(ScratchFolder::Read(dir.Path() + "sub\\moved.txt"), "new content");
}

TEST(FileMove, ReadOnlyDestinationIsReplacedWholeOrNotAtAll) {
    ScratchFolder dir;
    install::fileops::InheritedPermissions permissions;
    const std::string from = dir.Write("new.txt", "new");
    const std::string to = dir.Write("kept.txt", "kept");
    SetFileAttributesA(to.c_str(), FILE_ATTRIBUTE_READONLY);
    if (install::fileops::MoveReplacing(from, to, permissions)) {
        EXPECT_EQ(ScratchFolder::Read(to), "new");
        EXPECT_FALSE(ScratchFolder::Exists(from));
    } else {
        EXPECT_EQ(ScratchFolder::Read(to), "kept");
        EXPECT_EQ(ScratchFolder::Read(from), "new");
    }
    SetFileAttributesA(to.c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST(FileMove, MissingFolderOrSourceFailsAndKeepsTheSource) {
    ScratchFolder dir;
    install::fileops::InheritedPermissions permissions;
    const std::string from = dir.Write("a.txt", "a");
    EXPECT_FALSE(install::fileops::MoveReplacing(from, dir.Path() + "missing\\a.txt", permissions));
    EXPECT_EQ(ScratchFolder::Read(from), "a");
    EXPECT_FALSE(install::fileops::MoveReplacing(dir.Path() + "absent.txt", dir.Path() + "b.txt", permissions));
    EXPECT_FALSE(ScratchFolder::Exists(dir.Path() + "b.txt"));
}

TEST(FileMove, OtherFormsOfDestinationUseTheGeneralMove) {
    ScratchFolder dir;
    install::fileops::InheritedPermissions permissions;
    const std::string from = dir.Write("a.txt", "a");
    // Forward slashes are not the system's form: the general move takes them.
    std::string slashed = dir.Path() + "b.txt";
    for (char& c : slashed) if (c == '\\') c = '/';
    EXPECT_TRUE(install::fileops::MoveReplacing(from, slashed, permissions));
    EXPECT_EQ(ScratchFolder::Read(dir.Path() + "b.txt"), "a");
    // Parts to resolve land where the system resolves them.
    CreateDirectoryA((dir.Path() + "sub").c_str(), nullptr);
    EXPECT_TRUE(install::fileops::MoveReplacing(dir.Path() + "b.txt", dir.Path() + "sub\\..\\.\\c.txt", permissions));
    EXPECT_EQ(ScratchFolder::Read(dir.Path() + "c.txt"), "a");
    EXPECT_FALSE(ScratchFolder::Exists(dir.Path() + "sub\\c.txt"));
    // Too long for the ordinary calls: refused, as the ordinary move refuses it.
    const std::string longName = dir.Path() + std::string(300, 'n') + ".txt";
    EXPECT_FALSE(install::fileops::MoveReplacing(dir.Path() + "c.txt", longName, permissions));
    EXPECT_EQ(ScratchFolder::Read(dir.Path() + "c.txt"), "a");
}

}  // namespace
