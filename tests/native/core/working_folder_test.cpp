// The working folder's names, and where its files lie: payload group
// folders, the disk image, the decrypted project files.
#include <gtest/gtest.h>

#include <set>

#include "core/WorkingFolder.h"

namespace {

TEST(WorkingFolder, NamesAfterTheTimeNameAreBoundedAndDistinct) {
    EXPECT_EQ(core::WorkingFolderNameCandidate("cv101010", 0), "cv101010");
    EXPECT_EQ(core::WorkingFolderNameCandidate("cv101010", 1), "cv101010_1");
    std::set<std::string> names;
    for (unsigned i = 0; i < core::kWorkingFolderNameTries; ++i)
        names.insert(core::WorkingFolderNameCandidate("cv101010", i));
    // A later name never equals another second's time name.
    for (unsigned i = 0; i < core::kWorkingFolderNameTries; ++i)
        names.insert(core::WorkingFolderNameCandidate("cv101011", i));
    EXPECT_EQ(names.size(), 2 * core::kWorkingFolderNameTries);
    EXPECT_EQ(core::WorkingFolderNameCandidate("cv101010", core::kWorkingFolderNameTries), "");
}

TEST(WorkingFolder, PayloadAndProjectFilesAreFoundByOneRule) {
    EXPECT_EQ(core::WorkingFolderPath("C:\\T\\", "cv101010"), "C:\\T\\cv101010\\");
    EXPECT_EQ(core::PayloadFolder(false, "D:\\Setup\\", "C:\\T\\cv1\\"), "C:\\T\\cv1\\");
    EXPECT_EQ(core::PayloadFolder(true, "D:\\Setup\\", "C:\\T\\cv1\\"), "D:\\Setup\\DiskImage1\\");
    // A disk image holds every file flat; the cabinet's payload files lie in group folders.
    EXPECT_EQ(core::ProjectFilePath(true, "D:\\Setup\\DiskImage1\\", "F200_a.txt"),
              "D:\\Setup\\DiskImage1\\F200_a.txt");
    EXPECT_EQ(core::ProjectFilePath(false, "C:\\T\\cv1\\", "F200_a.txt"), "C:\\T\\cv1\\cvp1\\F200_a.txt");
    EXPECT_EQ(core::ProjectFilePath(false, "C:\\T\\cv1\\", "license.rtf"), "C:\\T\\cv1\\license.rtf");
}

TEST(WorkingFolder, PayloadFilesAreGroupedBy128Numbers) {
    EXPECT_EQ(core::ExtractedRelativePath("F0_app.exe"), "cvp0\\F0_app.exe");
    EXPECT_EQ(core::ExtractedRelativePath("F127_a"), "cvp0\\F127_a");
    EXPECT_EQ(core::ExtractedRelativePath("F128_a"), "cvp1\\F128_a");
    EXPECT_EQ(core::ExtractedRelativePath("F19999_x.txt"), "cvp156\\F19999_x.txt");
    EXPECT_EQ(core::ExtractedRelativePath("F007_lead.txt"), "cvp0\\F007_lead.txt");
    EXPECT_EQ(core::ExtractedRelativePath("F1_"), "cvp0\\F1_");  // a record without a file name
    EXPECT_EQ(core::ExtractedRelativePath("F999999999_max"), "cvp7812499\\F999999999_max");
    EXPECT_EQ(core::ExtractedRelativePath("F300_x"), "cvp2\\F300_x");
    EXPECT_EQ(core::ExtractedFilePath("C:\\T\\cv101010\\", "F3_lib.dll"), "C:\\T\\cv101010\\cvp0\\F3_lib.dll");
}

TEST(WorkingFolder, OtherFilesStayInTheWorkingFolder) {
    for (const char* name : {"setup.inf", "data.inf", "cvexec.exe", "F_x", "F12", "F12x_y", "f1_lower",
                             "FF1_x", "F1000000000_too_long", "F", "F1", "license.rtf"}) {
        EXPECT_EQ(core::ExtractedRelativePath(name), name) << name;
    }
    EXPECT_EQ(core::ExtractedFilePath("C:\\W\\", "setup.inf"), "C:\\W\\setup.inf");
}

TEST(WorkingFolder, PayloadGroupNamesAreRecognisedRegardlessOfCase) {
    for (const char* name : {"cvp0", "cvp156", "CVP3", "Cvp12"}) EXPECT_TRUE(core::IsPayloadGroupName(name)) << name;
    for (const char* name : {"cvp", "cvpx", "cvp1.txt", "xcvp1", "cv101010", "F0_cvp0"})
        EXPECT_FALSE(core::IsPayloadGroupName(name)) << name;
}

}  // namespace

namespace {

// Protected from the temporary folder's list, and only the three trustees.
TEST(WorkingFolder, AccessListNamesTheUserTheAdministratorsAndTheSystemAlone) {
    const std::string d = core::PrivateFolderDescriptor("S-1-5-21-1-2-3-1001");
    EXPECT_EQ(d.rfind("D:P(", 0), 0u) << d;
    EXPECT_EQ(d, "D:P(A;OICI;FA;;;S-1-5-21-1-2-3-1001)(A;OICI;FA;;;BA)(A;OICI;FA;;;SY)");
}

}  // namespace
