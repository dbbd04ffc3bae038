// The folders no removal deletes whole, for each scope: everyone's product
// protects every profile of the machine and its shell folders, whoever
// removes it; a user's product, the remover's own.
#include <windows.h>
#include <shlobj.h>

#include <algorithm>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "core/Folders.h"
#include "install/shared/ProtectedFolders.h"
#include "util/Text.h"

namespace {

bool Holds(const std::vector<std::string>& folders, const std::string& folder) {
    return std::any_of(folders.begin(), folders.end(), [&](const std::string& known) {
        return util::text::EqualsIgnoringAsciiCase(known, folder);
    });
}

TEST(ProtectedFolders, EveryonesProductProtectsEveryProfile) {
    // A second profile beside the remover's, in the machine's profiles folder.
    const std::string own = util::text::WithoutTrailingBackslashes(core::folders::SpecialFolder(CSIDL_PROFILE));
    ASSERT_FALSE(own.empty());
    const std::string other = own.substr(0, own.find_last_of('\\') + 1) + "cvscope-other";
    CreateDirectoryA(other.c_str(), nullptr);
    const std::string desktop = util::text::WithoutTrailingBackslashes(core::folders::SpecialFolder(CSIDL_DESKTOPDIRECTORY));
    ASSERT_EQ(desktop.compare(0, own.size() + 1, own + "\\"), 0) << desktop;
    const std::string otherDesktop = other + desktop.substr(own.size());

    const std::vector<std::string> everyone = install::ProtectedFolders(core::scope::InstallScope::AllUsers);
    EXPECT_TRUE(Holds(everyone, own));
    EXPECT_TRUE(Holds(everyone, other));
    EXPECT_TRUE(Holds(everyone, otherDesktop));
    const std::vector<std::string> user = install::ProtectedFolders(core::scope::InstallScope::PerUser);
    EXPECT_TRUE(Holds(user, desktop));
    EXPECT_FALSE(Holds(user, other));
    RemoveDirectoryA(other.c_str());
}

}  // namespace
