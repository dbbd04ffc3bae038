// Start-up file handling against the real file functions: theme files and
// the working folder.
#include "control/ThemeFiles.h"
#include "core/Folders.h"
#include "core/WorkingFolder.h"

#include "TestFiles.h"

namespace {

TEST(ThemeFiles, CaretFilesMoveIntoTheThemeFolderUnderTheirPlainNames) {
    ScratchFolder dir;
    dir.Write("^!welcome.lcd", "layout");
    dir.Write("^!a^!b.bmp", "picture");
    dir.Write("plain.txt", "stays");
    const std::string theme = dir.Path() + "theme\\";
    EXPECT_EQ(control::MoveThemeFiles(dir.Path(), theme), 2);
    EXPECT_EQ(ScratchFolder::Read(theme + "welcome.lcd"), "layout");
    EXPECT_EQ(ScratchFolder::Read(theme + "ab.bmp"), "picture");
    EXPECT_FALSE(ScratchFolder::Exists(dir.Path() + "^!welcome.lcd"));
    EXPECT_TRUE(ScratchFolder::Exists(dir.Path() + "plain.txt"));
    EXPECT_EQ(control::MoveThemeFiles(dir.Path(), theme), 0);  // a second start moves nothing
}

TEST(ThemeFiles, AnExistingThemeFileIsNotReplaced) {
    ScratchFolder dir;
    CreateDirectoryA((dir.Path() + "theme").c_str(), nullptr);
    dir.Write("theme\\welcome.lcd", "theme copy");
    dir.Write("^!welcome.lcd", "shipped copy");
    EXPECT_EQ(control::MoveThemeFiles(dir.Path(), dir.Path() + "theme\\"), 0);
    EXPECT_EQ(ScratchFolder::Read(dir.Path() + "theme\\welcome.lcd"), "theme copy");
    EXPECT_EQ(ScratchFolder::Read(dir.Path() + "^!welcome.lcd"), "shipped copy");
}

TEST(WorkingFolder, ANameInUseIsPassedOverUpToTheLastTry) {
    ScratchFolder temp;
    CreateDirectoryA((temp.Path() + "cv101010").c_str(), nullptr);
    temp.Write("cv101010_1", "a file of the next name");
    EXPECT_EQ(core::folders::CreateWorkingFolder(temp.Path(), "cv101010"), "cv101010_2");
    EXPECT_TRUE(ScratchFolder::Exists(temp.Path() + "cv101010_2\\"));
    EXPECT_EQ(ScratchFolder::Read(temp.Path() + "cv101010_1"), "a file of the next name");
    // Every name taken: none is shared.
    for (unsigned i = 3; i < core::kWorkingFolderNameTries; ++i)
        core::folders::CreateWorkingFolder(temp.Path(), "cv101010");
    EXPECT_TRUE(ScratchFolder::Exists(temp.Path() + "cv101010_99\\"));
    EXPECT_EQ(core::folders::CreateWorkingFolder(temp.Path(), "cv101010"), "");
    // A temporary folder that is missing or unknown gives no working folder.
    EXPECT_EQ(core::folders::CreateWorkingFolder(temp.Path() + "absent\\", "cv101010"), "");
    EXPECT_EQ(core::folders::CreateWorkingFolder("", "cv101010"), "");
}

}  // namespace
