// The installation scope: the scope a run starts with, the customer page's
// choice, the places that follow from it, the scope a removal reads back and
// the folders of every profile a per-machine removal protects.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/InstallScopeRules.h"

namespace {

using core::scope::ChoiceRefusal;
using core::scope::InstallScope;

TEST(InstallScope, StartsFromTheSettingThenFromTheRights) {
    EXPECT_EQ(core::scope::ScopeAtStart("Per-User", true), InstallScope::PerUser);
    EXPECT_EQ(core::scope::ScopeAtStart("Per-User", false), InstallScope::PerUser);
    EXPECT_EQ(core::scope::ScopeAtStart("All-Users", true), InstallScope::AllUsers);
    EXPECT_EQ(core::scope::ScopeAtStart("All-Users", false), InstallScope::AllUsers);
    EXPECT_EQ(core::scope::ScopeAtStart("", true), InstallScope::AllUsers);
    EXPECT_EQ(core::scope::ScopeAtStart("", false), InstallScope::PerUser);
    // Values are compared as written, like every other choice key.
    EXPECT_EQ(core::scope::ScopeAtStart("per-user", true), InstallScope::AllUsers);
}

TEST(InstallScope, CustomerChoiceSwitchesOrIsRefused) {
    using core::scope::ScopeOfChoice;
    const auto only = ScopeOfChoice(InstallScope::AllUsers, "All-Users", false, true);
    EXPECT_EQ(only.scope, InstallScope::PerUser);
    EXPECT_EQ(only.refusal, ChoiceRefusal::None);
    const auto anyone = ScopeOfChoice(InstallScope::PerUser, "", true, true);
    EXPECT_EQ(anyone.scope, InstallScope::AllUsers);
    EXPECT_EQ(anyone.refusal, ChoiceRefusal::None);
    // A standard user cannot install for everyone: the scope stays.
    const auto standard = ScopeOfChoice(InstallScope::PerUser, "", true, false);
    EXPECT_EQ(standard.scope, InstallScope::PerUser);
    EXPECT_EQ(standard.refusal, ChoiceRefusal::NeedsAdministrator);
    const auto fixed = ScopeOfChoice(InstallScope::PerUser, "Per-User", true, true);
    EXPECT_EQ(fixed.scope, InstallScope::PerUser);
    EXPECT_EQ(fixed.refusal, ChoiceRefusal::ProjectIsPerUser);
    EXPECT_EQ(ScopeOfChoice(InstallScope::PerUser, "Per-User", false, false).refusal, ChoiceRefusal::None);
}

TEST(InstallScope, NamesThePlacesOfEachScope) {
    using namespace core::scope;
    EXPECT_TRUE(UsesCommonFolders(InstallScope::AllUsers));
    EXPECT_FALSE(UsesCommonFolders(InstallScope::PerUser));
    EXPECT_STREQ(UninstallRootName(InstallScope::AllUsers), "HKEY_LOCAL_MACHINE");
    EXPECT_STREQ(UninstallRootName(InstallScope::PerUser), "HKEY_CURRENT_USER");
    EXPECT_STREQ(UninstallFolderTemplate(InstallScope::AllUsers), "<WindowsFolder>\\Installer\\<ProductCode>\\");
    EXPECT_STREQ(UninstallFolderTemplate(InstallScope::PerUser),
                 "<LocalAppDataFolder>\\Corvane\\Installer\\<ProductCode>\\");
    EXPECT_STREQ(UninstallerFolderTemplate(InstallScope::AllUsers), "<WindowsFolder>\\");
    EXPECT_STREQ(UninstallerFolderTemplate(InstallScope::PerUser), "<LocalAppDataFolder>\\Corvane\\");
    EXPECT_STREQ(UninstallerTemplate(InstallScope::AllUsers), "<WindowsFolder>\\cvexec.exe");
    EXPECT_STREQ(UninstallerTemplate(InstallScope::PerUser), "<LocalAppDataFolder>\\Corvane\\cvexec.exe");
    EXPECT_EQ(UninstallerCommand(InstallScope::AllUsers, "C:\\windows\\cvexec.exe", "/R", "{A B}"),
              "cvexec.exe /R {A B}");
    EXPECT_EQ(UninstallerCommand(InstallScope::PerUser, "C:\\users\\a b\\AppData\\Local\\Corvane\\cvexec.exe", "/M",
                                 "{A B}"),
              "\"C:\\users\\a b\\AppData\\Local\\Corvane\\cvexec.exe\" /M {A B}");
    EXPECT_EQ(MachineFolderOf("<UserProgramsFolder>\\Notes"), "");
    EXPECT_EQ(MachineFolderOf("<AppDataFolder>\\x;<SystemFolder>y;<ProgramFilesFolder>\\z"), "<SystemFolder>");
    EXPECT_EQ(MachineFolderOf("<WindowsFolder>\\Notes"), "<WindowsFolder>");
    EXPECT_STREQ(ScopeName(InstallScope::AllUsers), "All-Users");
    EXPECT_STREQ(ScopeName(InstallScope::PerUser), "Per-User");
}

TEST(InstallScope, RemovalReadsTheHiveOfTheRegistration) {
    using core::scope::RegisteredScope;
    EXPECT_EQ(RegisteredScope(true, false, true), InstallScope::AllUsers);
    EXPECT_EQ(RegisteredScope(false, true, false), InstallScope::PerUser);
    EXPECT_EQ(RegisteredScope(true, true, true), InstallScope::PerUser);
    EXPECT_EQ(RegisteredScope(true, true, false), InstallScope::AllUsers);
    EXPECT_EQ(RegisteredScope(false, false, true), InstallScope::AllUsers);
}

TEST(InstallScope, ProtectsTheSameFoldersInEveryProfile) {
    const std::vector<std::string> own = {
        "C:\\users\\admin\\Desktop", "C:\\USERS\\ADMIN\\AppData\\Roaming\\", "C:\\windows",
        "C:\\users\\admin\\desktop",  // the same place twice
        "C:\\users\\administrator",   // a sibling whose name begins the same
    };
    const std::vector<std::string> profiles = {"C:\\users\\bob", "c:\\users\\admin\\", "", "D:\\Profiles\\eve\\"};
    const std::vector<std::string> expected = {
        "C:\\users\\bob", "C:\\users\\bob\\Desktop", "C:\\users\\bob\\AppData\\Roaming",
        "D:\\Profiles\\eve", "D:\\Profiles\\eve\\Desktop", "D:\\Profiles\\eve\\AppData\\Roaming",
    };
    EXPECT_EQ(core::scope::ProfileFolders(own, "C:\\users\\admin", profiles), expected);
    EXPECT_TRUE(core::scope::ProfileFolders(own, "C:\\users\\admin", {}).empty());
    // Without a profile of its own the remover still protects the others' roots.
    EXPECT_EQ(core::scope::ProfileFolders(own, "", {"C:\\users\\bob"}), std::vector<std::string>{"C:\\users\\bob"});
}

}  // namespace
