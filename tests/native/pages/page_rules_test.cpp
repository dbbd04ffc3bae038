// The ready summary, the destination-folder check and the features a setup
// type installs.
#include <gtest/gtest.h>

#include "pages/PageRules.h"

namespace {

TEST(ReadySummary, JoinsTheSectionsInOrder) {
    // The type as the setup type page names it, in the page's language; a
    // blank between each label and its value.
    EXPECT_EQ(pages::ReadySummary("Standard", "C:\\App\\", "Ann", "Brenmark"),
              "\r\nSetup Type:\r\n\r\nStandard\r\n\r\nDestination Folder:\r\n\r\nC:\\App\\\r\n\r\n"
              "User Information:\r\n\r\nName: Ann\r\n\r\nCompany: Brenmark\r\n\r\n");
}

TEST(ReadySummary, OptionalLinesAreLeftOut) {
    const std::string noType = pages::ReadySummary("", "D:\\", "", "");
    EXPECT_EQ(noType, "\r\nSetup Type:\r\n\r\nDestination Folder:\r\n\r\nD:\\\r\n\r\n"
                      "User Information:\r\n\r\n");
    EXPECT_EQ(pages::ReadySummary("Custom", "D:\\", "Bo", "").find("Company:"), std::string::npos);
}

TEST(ReadySummary, SetupTypesAreTheSetupTypePagesChoices) {
    EXPECT_STREQ(pages::SetupTypeControl(0), "IDC_TYPICAL");
    EXPECT_STREQ(pages::SetupTypeControl(1), "IDC_MINIMAL");
    EXPECT_STREQ(pages::SetupTypeControl(2), "IDC_CUSTOM");
    EXPECT_EQ(pages::SetupTypeControl(-1), nullptr);
    EXPECT_EQ(pages::SetupTypeControl(3), nullptr);
    // Captions lose the access-key mark; a doubled one is a plain "&".
    EXPECT_EQ(pages::WithoutAccessKey("&Standard"), "Standard");
    EXPECT_EQ(pages::WithoutAccessKey("Be&nutzerdefiniert"), "Benutzerdefiniert");
    EXPECT_EQ(pages::WithoutAccessKey("Tom && Jerry&"), "Tom & Jerry");
    EXPECT_EQ(pages::WithoutAccessKey("Typical"), "Typical");
}

TEST(FolderCheck, ValidPaths) {
    for (const char* p : {"C:\\", "c:\\Program Files\\App", "Z:\\a\\b c\\d.e", "D:\\x"})
        EXPECT_TRUE(pages::IsValidFolderPath(p)) << p;
}

TEST(FolderCheck, InvalidPaths) {
    for (const char* p : {"", "C:", "C:x", "1:\\a", "\\\\server\\share", "C:\\a?b", "C:\\a\\",
                          "C:\\ a", "C:\\a \\b", "C:\\.a", "C:\\a.", "C:\\a\\\\b", "C:\\a*",
                          "C:\\a|b", "C:\\a<b>", "C:\\a\"b", "C:\\a/b", "C:\\a:b", "C:\\\ta"})
        EXPECT_FALSE(pages::IsValidFolderPath(p)) << p;
}

TEST(FolderCheck, LevelsFromTheDriveRoot) {
    EXPECT_EQ(pages::FolderLevels("C:\\a\\b"), (std::vector<std::string>{"C:\\a", "C:\\a\\b"}));
    EXPECT_EQ(pages::FolderLevels("C:\\a"), (std::vector<std::string>{"C:\\a"}));
}

TEST(FolderCheck, Messages) {
    EXPECT_EQ(pages::InvalidFolderMessage("C:\\a?"), "The folder:\n\nC:\\a?\n\nis invalid. Please reenter.");
    EXPECT_EQ(pages::CreateFolderQuestion("C:\\n"),
              "The folder:\n\nC:\\n\n\ndoes not exist. Do you want the folder to be created?");
    EXPECT_EQ(pages::FolderNotCreatedMessage("C:\\n"),
              "The folder:\n\nC:\\n\n\ncan not be created. Please double check.");
}

// Typical and minimal bring back every feature the custom page excluded;
// custom, or no type chosen, keeps the table as it is.
TEST(SetupTypeFeatures, TypicalAndMinimalInstallEveryFeature) {
    for (int type : {-1, 0, 1, 2}) {
        core::FeatureTable features;
        features.Add("Program Files");
        features.Add("Documentation");
        features.SetState(1, core::kFeatureExcluded);
        pages::ApplySetupType(type, features);
        const bool reset = type == 0 || type == 1;
        EXPECT_EQ(features.State(0), core::kFeatureInstall) << type;
        EXPECT_EQ(features.State(1), reset ? core::kFeatureInstall : core::kFeatureExcluded) << type;
    }
}

}  // namespace
