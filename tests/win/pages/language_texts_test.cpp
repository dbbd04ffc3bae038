// The setup type's name on the ready page: the language file's caption of the
// setup type page's choice, read through the profile functions, else the
// built-in English name.
#include <windows.h>

#include <string>

#include <gtest/gtest.h>

#include "TestFiles.h"
#include "pages/LanguageTexts.h"

namespace {

TEST(SetupTypeName, TakesTheSetupTypePagesCaptionFromTheLanguageFile) {
    ScratchFolder folder;
    const std::string german =
        folder.Write("German.lan", "[Value]\r\n2=&Standard\r\n3=\"&Minimal\"\r\n4=[ProductName] &&Co\r\n");
    EXPECT_EQ(pages::SetupTypeName(german, 0), "Standard");
    EXPECT_EQ(pages::SetupTypeName(german, 1), "Minimal");
    // In the page's form: placeholders in angle brackets, a doubled "&" kept as one.
    EXPECT_EQ(pages::SetupTypeName(german, 2), "<ProductName> &Co");
    EXPECT_EQ(pages::SetupTypeName(german, 3), "");

    // No language applied, or a file without the texts: the built-in names.
    const std::string partial = folder.Write("Partial.lan", "[Value]\r\n0=Ich lehne ab\r\n");
    for (const std::string& file : {std::string(), partial}) {
        EXPECT_EQ(pages::SetupTypeName(file, 0), "Typical");
        EXPECT_EQ(pages::SetupTypeName(file, 1), "Minimal");
        EXPECT_EQ(pages::SetupTypeName(file, 2), "Custom");
        EXPECT_EQ(pages::SetupTypeName(file, -1), "");
    }
}

// A Unicode file's caption arrives in the code page (1252 here: "ü" FC).
TEST(SetupTypeName, ReadsAUnicodeLanguageFileInTheCodePage) {
    ScratchFolder folder;
    const std::string utf8 = folder.Write("German.lan", "\xEF\xBB\xBF[Value]\r\n2=&T\xC3\xBCr\r\n");
    const std::string utf16 = folder.Write("Utf16.lan", std::string("\xFF\xFE[\0V\0a\0l\0u\0e\0]\0\r\0\n\0"
                                                                     "3\0=\0\xFC\0", 26));
    EXPECT_EQ(pages::SetupTypeName(utf8, 0), "T\xFCr");
    EXPECT_EQ(pages::SetupTypeName(utf16, 1), "\xFC");
}

}  // namespace
