// Start-up file handling against the real file functions: theme files.
#include "control/ThemeFiles.h"

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

}  // namespace
