// Languages: the method, the system language table, and the captions a
// language file puts on the standard layouts (read through the overlay).
#include <gtest/gtest.h>

#include "control/LanguageRules.h"
#include "skin/LayoutLocalisation.h"
#include "skin/MemoryIniSource.h"
#include "skin/OverlayIniSource.h"

using namespace skin::layout;

namespace {

// A layout of `count` controls named IDC_C0, IDC_C1, ... except the names given.
std::string Layout(int count, const std::map<int, std::string>& names) {
    std::string text = "[INFO]\nTOTAL=" + std::to_string(count) + "\n[DADOS]\n";
    for (int i = 0; i < count; ++i) {
        auto it = names.find(i);
        const std::string name = it != names.end() ? it->second : "IDC_C" + std::to_string(i);
        const std::string number = std::to_string(3000 + i);
        text += number + ",t=2\n" + PropertyEntryKey(i, 0) + "=Name|" + name + "|0\n";
        text += PropertyEntryKey(i, 1) + "=Caption|authored " + std::to_string(i) + "|0\n";
    }
    return text;
}

const char kGerman[] =
    "[InstallWelcome]\n"
    "2=[ProductName] &Weiter >\n"
    "3=Bitte}Willkommen\n"
    "4=\n"
    "[ReadyToInstall]\n"
    "5=&Installieren\n"
    "[SETUP]\n"
    "0=Vorbereitung...\n";

}  // namespace

TEST(LanguageRules, MethodAndSystemLanguages) {
    EXPECT_EQ(control::ParseLanguageMethod("Ask User"), control::LanguageMethod::AskUser);
    EXPECT_EQ(control::ParseLanguageMethod("Auto-Detect"), control::LanguageMethod::AutoDetect);
    EXPECT_EQ(control::ParseLanguageMethod("ask user"), control::LanguageMethod::None);
    EXPECT_EQ(control::ParseLanguageMethod(""), control::LanguageMethod::None);

    EXPECT_EQ(control::LanguageNameForSystem(0x0407), "German");
    EXPECT_EQ(control::LanguageNameForSystem(0x0416), "Portuguese");
    EXPECT_EQ(control::LanguageNameForSystem(0x0816), "");  // Portugal is not listed
    EXPECT_EQ(control::LanguageNameForSystem(0x0813), "Dutch");
    EXPECT_EQ(control::LanguageNameForSystem(0x0413), "");
    EXPECT_EQ(control::LanguageNameForSystem(0x0C1A), "Serbian");
    EXPECT_EQ(control::LanguageNameForSystem(0), "");
    EXPECT_EQ(control::LanguageFilePath("C:\\S\\", "German"), "C:\\S\\languages\\German.lan");
}

TEST(LanguageRules, CaptionsFollowTheTable) {
    skin::MemoryIniSource german(kGerman);
    // Placeholders in square brackets become angle brackets.
    EXPECT_EQ(LocalisedCaption("welcome.lcd", "IDC_NEXT", german), "Caption|<ProductName> &Weiter >|0");
    // Only what follows the first "}" is kept.
    EXPECT_EQ(LocalisedCaption("welcome.lcd", "IDC_STATIC1", german), "Caption|Willkommen|0");
    // A key written empty is an empty caption; a missing key leaves the control alone.
    EXPECT_EQ(LocalisedCaption("welcome.lcd", "IDC_STATIC2", german), "Caption||0");
    EXPECT_EQ(LocalisedCaption("welcome.lcd", "IDC_STATIC3", german), "");
    // No row: not a listed control, not a listed file, names compared exactly.
    EXPECT_EQ(LocalisedCaption("welcome.lcd", "IDC_STATIC4", german), "");
    EXPECT_EQ(LocalisedCaption("Welcome.lcd", "IDC_NEXT", german), "");
    EXPECT_EQ(LocalisedCaption("welcome.lcd", "idc_next", german), "");
    EXPECT_EQ(LocalisedCaption("start.lcd", "IDC_STATIC1", german), "Caption|Vorbereitung...|0");
    EXPECT_EQ(LanguageTextForm("a}b}c[x]"), "b}c<x>");
}

TEST(LanguageRules, EntriesAddressLinesByTheirKeys) {
    EXPECT_EQ(PropertyEntryKey(9, 1), "3009,1");
    EXPECT_EQ(PropertyEntryKey(10, 1), "3010,1");
    skin::MemoryIniSource german(kGerman);
    const std::string path = "C:\\S\\theme\\ready.lcd";
    skin::MemoryIniSource ready(Layout(11, {{10, "IDC_NEXT"}, {3, "IDC_BACK"}}));
    const auto entries = LocalisedEntries(LayoutFile(ready, path), "ready.lcd", german);
    ASSERT_EQ(entries.size(), 1u);  // IDC_BACK's key is missing from the file
    EXPECT_EQ(entries.at("3010,1"), "Caption|&Installieren|0");

    // Read through the overlay, the page sees the language's caption and the
    // other controls' authored ones.
    skin::OverlayIniSource overlay(ready, kPropertySection, entries);
    LayoutFile localised(overlay, path);
    EXPECT_EQ(localised.ReadEntries(3010).at(1).value, "&Installieren");
    EXPECT_EQ(localised.ReadEntries(3003).at(1).value, "authored 3");
    EXPECT_EQ(overlay.Read("dados", "3010,1", 8), "Caption");

    // A layout the table does not name, and one claiming a huge count.
    skin::MemoryIniSource other(Layout(2, {{0, "IDC_NEXT"}}));
    EXPECT_TRUE(LocalisedEntries(LayoutFile(other, "C:\\x\\mine.lcd"), "mine.lcd", german).empty());
    skin::MemoryIniSource huge("[INFO]\nTOTAL=2000000000\n[DADOS]\n3000,0=Name|IDC_NEXT|0\n");
    EXPECT_EQ(LocalisedEntries(LayoutFile(huge, path), "ready.lcd", german).size(), 1u);
}
