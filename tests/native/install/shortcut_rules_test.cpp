// The shortcut rules: where a shortcut goes, which folder is a group of the
// product's, the window state.
#include <gtest/gtest.h>

#include <string>

#include "install/shortcuts/ShortcutRules.h"

namespace {

using namespace install::shortcutrules;

core::SpecialFolderValues Folders() {
    core::SpecialFolderValues f;
    f.programMenu = "C:\\SM\\Programs";
    f.startupMenu = "C:\\SM\\Programs\\Startup";
    f.startMenu = "C:\\SM";
    f.desktop = "C:\\Users\\u\\Desktop";
    f.favorites = "C:\\Users\\u\\Favorites";
    f.appData = "C:\\Users\\u\\AppData";
    return f;
}

TEST(ShortcutRules, ShellFolderWordsBeginTheLocation) {
    const core::SpecialFolderValues f = Folders();
    EXPECT_EQ(ReplaceShellFolderWords("Start Menu\\Programs Menu\\Group\\App", f), "C:\\SM\\Programs\\Group\\App");
    EXPECT_EQ(ReplaceShellFolderWords("Start Menu\\StartUp\\App", f), "C:\\SM\\Programs\\Startup\\App");
    EXPECT_EQ(ReplaceShellFolderWords("Start Menu\\App", f), "C:\\SM\\App");
    EXPECT_EQ(ReplaceShellFolderWords("Desktop\\App", f), "C:\\Users\\u\\Desktop\\App");
    EXPECT_EQ(ReplaceShellFolderWords("Favorites\\Site", f), "C:\\Users\\u\\Favorites\\Site");
    EXPECT_EQ(ReplaceShellFolderWords("Active Desktop\\App", f),
              "C:\\Users\\u\\AppData\\Microsoft\\Internet Explorer\\Quick Launch\\App");
    // A group whose name holds a word keeps it.
    EXPECT_EQ(ReplaceShellFolderWords("Start Menu\\Programs Menu\\Desktop Tools\\App", f),
              "C:\\SM\\Programs\\Desktop Tools\\App");
    EXPECT_EQ(ReplaceShellFolderWords("Desktops\\App", f), "Desktops\\App");
    // A folder that is a drive's root meets the rest with one backslash.
    core::SpecialFolderValues root = f;
    root.desktop = "D:\\";
    EXPECT_EQ(ReplaceShellFolderWords("Desktop\\App", root), "D:\\App");
    // An unknown folder places nothing, rather than at the root of the drive.
    root.desktop.clear();
    EXPECT_EQ(ReplaceShellFolderWords("Desktop\\App", root), "");

    EXPECT_EQ(TrimLocation("Desktop\\App\\\\"), "Desktop\\App");
    EXPECT_EQ(ShortcutFolder("C:\\SM\\Programs\\Group\\App"), "C:\\SM\\Programs\\Group\\");
    EXPECT_EQ(ShortcutFolder("App"), "");
}

TEST(ShortcutRules, GroupFolderAndWindowState) {
    EXPECT_FALSE(CreatesGroupFolder("Start Menu\\Programs Menu\\App", "App"));
    EXPECT_TRUE(CreatesGroupFolder("Start Menu\\Programs Menu\\Group\\App", "App"));
    EXPECT_FALSE(CreatesGroupFolder("Desktop\\App", "App"));
    EXPECT_FALSE(CreatesGroupFolder("Start Menu\\App", "App"));
    EXPECT_TRUE(CreatesGroupFolder("Desktop\\Group\\App", "App"));
    // The name is removed wherever it occurs: a group named after the
    // shortcut still counts as a group...
    EXPECT_TRUE(CreatesGroupFolder("Start Menu\\Programs Menu\\Editor Tools\\Editor", "Editor"));
    EXPECT_TRUE(CreatesGroupFolder("Start Menu\\Programs Menu\\Editor\\Editor", "Editor"));
    // ...and a name found in the shell-folder words takes them apart, so the
    // rule for any other location applies.
    EXPECT_TRUE(CreatesGroupFolder("Start Menu\\Programs Menu\\Menu", "Menu"));
    // An empty name removes nothing (and the removal ends).
    EXPECT_TRUE(CreatesGroupFolder("Start Menu\\Programs Menu\\App", ""));
    // The rule takes a Startup location for a group: the folder is a shell
    // folder, which is never made or logged as the product's.
    EXPECT_TRUE(CreatesGroupFolder("Start Menu\\StartUp\\App", "App"));
    EXPECT_TRUE(IsShellFolder("c:\\sm\\programs\\startup\\", Folders()));
    EXPECT_FALSE(IsShellFolder("C:\\SM\\Programs\\Group\\", Folders()));

    EXPECT_EQ(ShowCommandOf("Maximized"), 3);
    EXPECT_EQ(ShowCommandOf("Minimized"), 6);
    EXPECT_EQ(ShowCommandOf("maximized"), 0);
    EXPECT_EQ(ShowCommandOf(""), 0);
}

}  // namespace
