// UTF-8 as authors' editors write it: decoding by characters, and telling a
// text that was meant as UTF-8 from one in an ANSI code page. Pure rules, for
// cvpack and for anything else that checks a project.
#pragma once

#include <cstddef>
#include <string>

namespace utf8 {

// The byte order mark editors put at the start of a UTF-8 file.
constexpr char kBom[] = "\xEF\xBB\xBF";

bool StartsWithBom(const std::string& text);

// Length of the well-formed UTF-8 character at `pos` (pos < text.size()),
// its value in `character`; 0 when the bytes there are no such character
// (a stray continuation byte, a sequence cut short, an overlong form, a
// surrogate, a value above U+10FFFF).
size_t SequenceLength(const std::string& text, size_t pos, char32_t& character);

// Position of the first byte that starts no well-formed character, or npos.
size_t FirstInvalid(const std::string& text);

// True when the text holds at least one character of two or more bytes and
// is well-formed UTF-8 throughout: in an ANSI code page such a run of bytes
// is unlikely as text ("Ãœbersicht" in code page 1252), so the author most
// likely saved the file as UTF-8.
bool LooksLikeUtf8(const std::string& text);

// The word around the first character of two or more bytes (the run of
// letters, digits and such characters that holds it), for messages: in
// "docs\Übersicht.txt" it is "Übersicht". Empty when there is no such character.
std::string WordAroundFirstWide(const std::string& text);

// The character as UTF-8 bytes, and as "U+XXXX" (four or more hex digits).
std::string Encode(char32_t character);
std::string CodePointName(char32_t character);

}  // namespace utf8
