// Language file encodings: the byte-order marks, UTF-8 and UTF-16 decoding,
// bytes that are no character, the size limit, and values cut to a buffer.
#include <gtest/gtest.h>

#include "core/TextEncodingRules.h"
#include "skin/LayoutLocalisation.h"
#include "skin/UnicodeIniSource.h"

using namespace core::encoding;

namespace {

const std::string kUtf8Mark = "\xEF\xBB\xBF";
const std::string kUtf16Mark = "\xFF\xFE";

// UTF-16 LE bytes of an ASCII-and-BMP text given as UTF-16 units.
std::string Utf16Le(const std::u16string& units) {
    std::string bytes;
    for (char16_t u : units) {
        bytes += static_cast<char>(u & 0xFF);
        bytes += static_cast<char>(u >> 8);
    }
    return bytes;
}

TEST(TextEncoding, MarksSayTheEncodingAndAFileWithoutOneStaysAnsi) {
    EXPECT_EQ(DetectEncoding(kUtf8Mark + "[A]"), TextEncoding::Utf8);
    EXPECT_EQ(DetectEncoding(kUtf16Mark + Utf16Le(u"[A]")), TextEncoding::Utf16Le);
    EXPECT_EQ(DetectEncoding("[A]\r\nk=f\xFCr"), TextEncoding::Ansi);
    EXPECT_EQ(DetectEncoding("\xEF\xBB"), TextEncoding::Ansi);  // a cut mark
    EXPECT_EQ(DetectEncoding(""), TextEncoding::Ansi);
    EXPECT_EQ(DetectEncoding("\xFE\xFF"), TextEncoding::Ansi);  // big-endian is not read
    const Decoded ansi = DecodeToUtf8("[A]");
    EXPECT_FALSE(ansi.ok);
    EXPECT_FALSE(ansi.error.empty());
}

TEST(TextEncoding, Utf8AndUtf16DecodeToTheSameText) {
    const std::string expected = "[A]\r\nk=Zur\xC3\xBC" "ck f\xC3\xBCr \xD0\xA0 \xE3\x81\x82 \xF0\x9F\x98\x80";
    const Decoded utf8 = DecodeToUtf8(kUtf8Mark + expected);
    ASSERT_TRUE(utf8.ok);
    EXPECT_EQ(utf8.utf8, expected);
    const Decoded utf16 =
        DecodeToUtf8(kUtf16Mark + Utf16Le(u"[A]\r\nk=Zur\u00FCck f\u00FCr \u0420 \u3042 \U0001F600"));
    ASSERT_TRUE(utf16.ok);
    EXPECT_EQ(utf16.utf8, expected);
}

TEST(TextEncoding, BytesThatAreNoCharacterBecomeOneReplacementEach) {
    const std::string r = "\xEF\xBF\xBD";
    EXPECT_EQ(DecodeToUtf8(kUtf8Mark + "a\xFF" "b").utf8, "a" + r + "b");          // never a lead byte
    EXPECT_EQ(DecodeToUtf8(kUtf8Mark + "a\x80" "b").utf8, "a" + r + "b");          // stray continuation
    EXPECT_EQ(DecodeToUtf8(kUtf8Mark + "a\xC3").utf8, "a" + r);                    // cut at the end
    EXPECT_EQ(DecodeToUtf8(kUtf8Mark + "\xC0\xAF").utf8, r + r);                   // over-long '/'
    EXPECT_EQ(DecodeToUtf8(kUtf8Mark + "\xED\xA0\x80").utf8, r + r + r);           // a surrogate
    EXPECT_EQ(DecodeToUtf8(kUtf8Mark + "\xF4\x90\x80\x80").utf8, r + r + r + r);   // above U+10FFFF
    EXPECT_EQ(DecodeToUtf8(kUtf16Mark + Utf16Le(u"a") + std::string("\x00\xD8", 2) + Utf16Le(u"b")).utf8, "a" + r + "b");
    EXPECT_EQ(DecodeToUtf8(kUtf16Mark + Utf16Le(u"a") + std::string("\x00\xDC", 2)).utf8, "a" + r);  // lone low half
    EXPECT_EQ(DecodeToUtf8(kUtf16Mark + Utf16Le(u"a") + "b").utf8, "a" + r);         // odd last byte
}

TEST(TextEncoding, AFileAboveTheLimitIsRefused) {
    const Decoded big = DecodeToUtf8(kUtf8Mark + std::string(kMaxUnicodeFileSize, 'a'));
    EXPECT_FALSE(big.ok);
    EXPECT_NE(big.error.find("larger than"), std::string::npos);
    EXPECT_TRUE(DecodeToUtf8(kUtf8Mark + std::string(kMaxUnicodeFileSize - 3, 'a')).ok);
}

TEST(TextEncoding, AValueCutToItsBufferKeepsWholeCharacters) {
    EXPECT_EQ(FirstCharacters("f\xC3\xBCr", 2), "f\xC3\xBC");
    EXPECT_EQ(FirstCharacters("f\xC3\xBCr", 9), "f\xC3\xBCr");
    EXPECT_EQ(FirstCharacters("\xE3\x81\x82\xE3\x81\x82", 1), "\xE3\x81\x82");
    EXPECT_EQ(FirstCharacters("abc", 0), "");
    // An over-long line of a Unicode language file keeps 254 characters of
    // two bytes each, as an ANSI file keeps 254 bytes.
    std::string line;
    for (int i = 0; i < 400; ++i) line += "\xD0\x96";
    const skin::UnicodeIniSource source("[Section]\r\nkey=" + line + "\r\nnext=x\r\n");
    const std::string value = source.Read("section", "KEY", 255);
    EXPECT_EQ(value, line.substr(0, 254 * 2));
    EXPECT_EQ(source.Read("Section", "next", 255), "x");
    EXPECT_EQ(source.Read("Section", "next", 0), "");
}

TEST(TextEncoding, AUnicodeLanguageFileCaptionsAStandardPage) {
    const Decoded file = DecodeToUtf8(kUtf16Mark + Utf16Le(u"[InstallWelcome]\r\n2=Zur\u00FCck\r\n"));
    ASSERT_TRUE(file.ok);
    const skin::UnicodeIniSource language(file.utf8);
    EXPECT_EQ(skin::layout::LocalisedCaption("welcome.lcd", "IDC_NEXT", language), "Caption|Zur\xC3\xBC" "ck|0");
}

}  // namespace
