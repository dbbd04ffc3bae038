// Characters of the ANSI code page that names are written in. The
// double-byte code pages of East Asia (932 Japanese, 936 Simplified Chinese,
// 949 Korean, 950 Traditional Chinese) write most characters as a lead byte
// followed by a second byte, and that second byte may have the value of an
// ASCII character: "ソ" is 83 5C in code page 932, the second byte a
// backslash. Rules that look for ASCII characters in a name (separators,
// characters no file name may hold) walk it character by character so they
// never take a second byte for one. In every other code page a byte below
// 0x80 is always a character of its own, UTF-8 included.
// Pure rules: the engine passes the system's ANSI code page, the authoring
// tool the code page of the project's texts.
#pragma once

#include <cstddef>
#include <string>

namespace core::codepage {

// The code page of Western European texts: what the authoring tool assumes
// when it is told no other.
constexpr unsigned kWesternEuropean = 1252;

// Whether `byte` begins a two-byte character in `codePage`: 0x81-0x9F and
// 0xE0-0xFC in 932; 0x81-0xFE in 936, 949 and 950; never in any other code
// page.
bool IsLeadByte(unsigned char byte, unsigned codePage);

// Length in bytes of the character that starts at `pos` (pos < text.size()):
// 2 for a lead byte followed by a byte that can trail it (0x40 or above),
// else 1 (a lead byte at the end of the text, or before a NUL, a path
// character or a digit, stands alone).
size_t CharacterLength(const std::string& text, size_t pos, unsigned codePage);

// Position of the first character at or after `from`, a character boundary,
// that is one of the single-byte characters of `set`; npos when there is none.
size_t FindFirstOf(const std::string& text, const char* set, unsigned codePage, size_t from = 0);

// Position of the last character of `text` that is one of the single-byte
// characters of `set`; npos when there is none.
size_t FindLastOf(const std::string& text, const char* set, unsigned codePage);

}  // namespace core::codepage
