// Start-up file handling against the real file functions: theme files and
// the working folder.
#include "control/ThemeFiles.h"
#include "core/Folders.h"
#include "core/WorkingFolder.h"

#include <windows.h>
#include <aclapi.h>
#include <sddl.h>

#include <cstring>
#include <string>

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

// The trustees of a folder's access list ("SID SID "), with whether it is
// protected from inheritance; "?" when it cannot be read.
std::string Trustees(const std::string& folder, bool* protectedList) {
    PACL dacl = nullptr;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (GetNamedSecurityInfoA(folder.c_str(), SE_FILE_OBJECT, DACL_SECURITY_INFORMATION, nullptr, nullptr,
                              &dacl, nullptr, &descriptor) != ERROR_SUCCESS || !dacl)
        return "?";
    SECURITY_DESCRIPTOR_CONTROL control = 0;
    DWORD revision = 0;
    GetSecurityDescriptorControl(descriptor, &control, &revision);
    *protectedList = (control & SE_DACL_PROTECTED) != 0;
    std::string trustees;
    for (DWORD i = 0; i < dacl->AceCount; ++i) {
        ACCESS_ALLOWED_ACE* ace = nullptr;
        char* sid = nullptr;
        if (GetAce(dacl, i, reinterpret_cast<void**>(&ace)) && ConvertSidToStringSidA(&ace->SidStart, &sid))
            trustees += std::string(sid) + " ";
        LocalFree(sid);
    }
    LocalFree(descriptor);
    return trustees;
}

// Only the current user, the administrators and the system may use the
// folder. Wine keeps no access list of its own for a file: it reads back
// what the Unix permissions allow, so there the check is that no one else
// is let in, where a folder made without the list lets everyone read.
TEST(WorkingFolder, IsPrivateToTheUserTheAdministratorsAndTheSystem) {
    ScratchFolder temp;
    const std::string name = core::folders::CreateWorkingFolder(temp.Path(), "cv121212");
    ASSERT_EQ(name, "cv121212");
    bool isProtected = false;
    const std::string trustees = Trustees(temp.Path() + name, &isProtected);
    ASSERT_NE(trustees, "?");
    std::string others = trustees;
    for (const char* allowed : {"S-1-5-32-544 ", "S-1-5-18 "})
        if (others.find(allowed) != std::string::npos) others.erase(others.find(allowed), std::strlen(allowed));
    // What is left is the user alone.
    EXPECT_EQ(others.rfind("S-1-5-21-", 0), 0u) << trustees;
    EXPECT_EQ(others.find(' '), others.size() - 1) << trustees;

    CreateDirectoryA((temp.Path() + "plain").c_str(), nullptr);
    bool plainProtected = false;
    const std::string plain = Trustees(temp.Path() + "plain", &plainProtected);
    EXPECT_NE(plain, trustees) << "a folder made without the list has the same: " << plain;
}

}  // namespace
