// How a language file's bytes are read. A file that begins with a byte-order
// mark is Unicode and is shown as written whatever the system's code page:
// EF BB BF marks UTF-8, FF FE UTF-16 little-endian. A file without one is in
// the system's ANSI code page, read as it always was. A Unicode file is
// decoded once into UTF-8, which the engine carries to the wide calls that
// show it.
#pragma once

#include <cstddef>
#include <string>

namespace core::encoding {

// Appends the character (at most U+10FFFF) in UTF-8, or in UTF-16 (a
// surrogate pair above U+FFFF).
void AppendUtf8(std::string& out, char32_t c);
void AppendUtf16(std::u16string& out, char32_t c);

enum class TextEncoding { Ansi, Utf8, Utf16Le };

// A language file is a page of short texts: a larger one is refused rather
// than read whole into memory.
constexpr size_t kMaxUnicodeFileSize = 4u * 1024u * 1024u;

// The encoding the first bytes mark (Ansi without a mark).
TextEncoding DetectEncoding(const std::string& bytes);

struct Decoded {
    bool ok = false;
    std::string utf8;   // without the mark; CR LF kept as written
    std::string error;  // why the file was refused, when !ok
};

// Decodes a Unicode file's bytes (mark included) into UTF-8. A byte sequence
// that is no character (a stray or cut UTF-8 sequence, an over-long form, a
// lone UTF-16 surrogate, an odd last byte) becomes U+FFFD, so one bad byte
// costs one character, not the file. A NUL character ends a line's use as
// text just as in an ANSI file, so it is kept. Refused: a file without a
// Unicode mark and one larger than kMaxUnicodeFileSize.
Decoded DecodeToUtf8(const std::string& bytes);

// The first `count` characters of UTF-8 `text` (all of it when shorter): a
// Unicode value read into a buffer keeps as many characters as the wide
// profile functions keep UTF-16 units, and never ends in half a character.
std::string FirstCharacters(const std::string& utf8, size_t count);

}  // namespace core::encoding
