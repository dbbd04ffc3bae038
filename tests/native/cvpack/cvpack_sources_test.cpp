// The text rules behind UTF-8 project sources and folder entries.
#include <gtest/gtest.h>

#include "FolderEntries.h"
#include "SourceText.h"
#include "Utf8Text.h"

TEST(CvpackUtf8, DecodesOnlyWellFormedCharacters) {
    char32_t c = 0;
    EXPECT_EQ(utf8::SequenceLength("\xC3\x9C", 0, c), 2u);
    EXPECT_EQ(c, U'\u00DC');
    EXPECT_EQ(utf8::SequenceLength("\xF0\x9F\x98\x80", 0, c), 4u);
    EXPECT_EQ(c, U'\U0001F600');
    // Stray continuation, cut short, overlong "/", surrogate, above U+10FFFF.
    for (const char* bad : {"\x9C", "\xC3", "\xE2\x82", "\xC0\xAF", "\xED\xA0\x80", "\xF4\x90\x80\x80"})
        EXPECT_EQ(utf8::SequenceLength(bad, 0, c), 0u) << bad;
    EXPECT_EQ(utf8::FirstInvalid("ok \xC3\x9C \xFF"), 6u);
}

TEST(CvpackUtf8, LooksLikeUtf8OnlyWithWideCharactersAndNothingMalformed) {
    EXPECT_TRUE(utf8::LooksLikeUtf8("docs\\\xC3\x9C" "bersicht.txt"));
    EXPECT_FALSE(utf8::LooksLikeUtf8("plain ascii"));
    EXPECT_FALSE(utf8::LooksLikeUtf8("docs\\\xDC" "bersicht.txt"));       // code page 1252
    EXPECT_FALSE(utf8::LooksLikeUtf8("\xC3\x9C and then \xDC"));         // mixed: not UTF-8
    EXPECT_EQ(utf8::WordAroundFirstWide("docs\\\xC3\x9C" "bersicht.txt"), "\xC3\x9C" "bersicht");
    EXPECT_EQ(utf8::WordAroundFirstWide("plain"), "");
}

TEST(CvpackUtf8, ConvertsToTheCodePageAndReportsEachProblemOnItsLine) {
    Diagnostics diagnostics;
    SourceConverter converter(1252, diagnostics);
    EXPECT_EQ(converter.ToCodePage("a=\xC3\x9C\xE2\x82\xAC\r\nb=\xCE\xA9\xCE\xA9\nc=\xFF", "x.inf", 4),
              "a=\xDC\x80\r\nb=\nc=");
    try {
        diagnostics.ThrowIfErrors();
        FAIL() << "no error";
    } catch (const std::runtime_error& error) {
        EXPECT_EQ(std::string(error.what()),
                  "x.inf:5: error: \"\xCE\xA9\" (U+03A9) cannot be written in code page 1252\n"
                  "x.inf:6: error: invalid UTF-8 (byte 0xFF)");
    }
}

TEST(CvpackUtf8, NoBestFitOrTransliteration) {
    Diagnostics diagnostics;
    SourceConverter converter(1252, diagnostics);
    // U+0100 "A with macron" has a best fit "A" in 1252; U+FF21 a full-width "A".
    converter.ToCodePage("\xC4\x80\xEF\xBC\xA1", "f", 1);
    EXPECT_TRUE(diagnostics.HasErrors());
    Diagnostics japanese;
    SourceConverter to932(932, japanese);
    EXPECT_EQ(to932.ToCodePage("\xE3\x82\xBD", "f", 1), "\x83\x5C");  // "ソ"
    EXPECT_FALSE(japanese.HasErrors());
}

TEST(CvpackUtf8, WarnsOfUtf8LinesOnlyInSingleByteCodePages) {
    std::vector<std::string> warnings;
    Diagnostics diagnostics([&](const std::string& w) { warnings.push_back(w); });
    const std::string text = "plain\ndocs\\\xC3\x9C" "bersicht.txt\n\xDC" "ber\n";
    SourceConverter(1252, diagnostics).WarnIfLooksLikeUtf8(text, "data.inf", 1);
    SourceConverter(932, diagnostics).WarnIfLooksLikeUtf8(text, "data.inf", 1);
    ASSERT_EQ(warnings.size(), 1u);
    EXPECT_EQ(warnings[0], "data.inf:2: warning: this line looks like UTF-8 (\"\xC3\x9C" "bersicht\"); "
                           "add a BOM or use --source-encoding utf-8");
    EXPECT_FALSE(diagnostics.HasErrors());
}

TEST(CvpackFolderEntries, WildcardsMatchByCharactersInAnyCase) {
    EXPECT_TRUE(MatchesWildcard("*", "a.txt", 1252));
    EXPECT_TRUE(MatchesWildcard("*.TXT", "read.me.txt", 1252));
    EXPECT_FALSE(MatchesWildcard("*.txt", "a.txt.bak", 1252));
    EXPECT_TRUE(MatchesWildcard("a?c*d", "abcxxd", 1252));
    EXPECT_FALSE(MatchesWildcard("a?c", "ac", 1252));
    EXPECT_TRUE(MatchesWildcard("?.txt", "\xC3\x9C.txt", 65001));  // one character, two bytes
    EXPECT_TRUE(MatchesWildcard("?.txt", "\x83\x5C.txt", 932));
    EXPECT_FALSE(MatchesWildcard("?.txt", "\xC3\x9C.txt", 1252));
}
