// Whether the file the setup holds is the one it runs from: the names the
// system gives the running image and an open file, on Windows and Wine.
#include <gtest/gtest.h>

#include "control/OwnImageRules.h"

namespace {

using control::ownimage::IsHeldFile;
using control::ownimage::OpenablePath;

TEST(OwnImage, TheMappingsNameOpensAsAWin32Path) {
    EXPECT_EQ(OpenablePath(L"\\Device\\HarddiskVolume3\\Users\\a\\Downloads\\setup.exe"),
              L"\\\\?\\GLOBALROOT\\Device\\HarddiskVolume3\\Users\\a\\Downloads\\setup.exe");
    EXPECT_EQ(OpenablePath(L"\\??\\Z:\\tmp\\dl\\setup.exe"), L"\\\\?\\Z:\\tmp\\dl\\setup.exe");
    EXPECT_EQ(OpenablePath(L"\\??\\"), L"");
    EXPECT_EQ(OpenablePath(L"C:\\dl\\setup.exe"), L"");
    EXPECT_EQ(OpenablePath(L""), L"");
}

TEST(OwnImage, OneNameOfTheHeldFileMustBeTheImages) {
    // Windows: the mapping and the handle both in the NT form.
    EXPECT_TRUE(IsHeldFile(L"\\Device\\HarddiskVolume3\\Users\\a\\Downloads\\Setup.exe",
                           {L"\\Device\\HarddiskVolume3\\Users\\a\\Downloads\\setup.exe",
                            L"\\\\?\\C:\\Users\\a\\Downloads\\setup.exe"}));
    // Wine 8: the mapping in the "\??\" form, the handle's NT form on a
    // volume device of its own; its DOS form is the one that matches.
    const std::vector<std::wstring> wine = {L"\\Device\\HarddiskVolume2\\tmp\\dl dir\\probe.exe",
                                            L"\\\\?\\Z:\\tmp\\dl dir\\probe.exe"};
    EXPECT_TRUE(IsHeldFile(L"\\??\\Z:\\tmp\\dl dir\\PROBE.EXE", wine));
    // Another file: the image renamed away, or another folder, or a name
    // that only starts alike.
    EXPECT_FALSE(IsHeldFile(L"\\??\\Z:\\tmp\\dl dir\\probe.exe.moved", wine));
    EXPECT_FALSE(IsHeldFile(L"\\??\\Z:\\tmp\\other\\probe.exe", wine));
    EXPECT_FALSE(IsHeldFile(L"\\??\\Z:\\tmp\\dl dir\\probe.ex", wine));
    // Only ASCII letters compare without case.
    EXPECT_FALSE(IsHeldFile(L"\\??\\Z:\\dl\\\u00C9.exe", {L"\\\\?\\Z:\\dl\\\u00E9.exe"}));
    EXPECT_TRUE(IsHeldFile(L"\\??\\Z:\\dl\\\u00E9.exe", {L"\\\\?\\Z:\\dl\\\u00E9.exe"}));
    // Nothing known matches nothing.
    EXPECT_FALSE(IsHeldFile(L"", {L""}));
    EXPECT_FALSE(IsHeldFile(L"\\??\\Z:\\dl\\setup.exe", {}));
}

}  // namespace
