// Writes single Unicode characters in an ANSI code page through the system's
// own conversion tables: glibc's iconv natively, the Windows conversion calls
// in the MinGW build. A character is written only when its bytes read back as
// the same character: never a best-fit look-alike or a transliteration, which
// would install a name other than the one the author wrote.
#pragma once

#include <string>

class CodePageEncoder {
public:
    // Throws std::runtime_error when the system has no table for the code page.
    explicit CodePageEncoder(unsigned codePage);
    ~CodePageEncoder();
    CodePageEncoder(const CodePageEncoder&) = delete;
    CodePageEncoder& operator=(const CodePageEncoder&) = delete;

    // Appends the bytes of `character` and returns true, or returns false
    // (appending nothing) when the code page cannot hold it.
    bool Encode(char32_t character, std::string& out);

    // The UTF-16 text of `text`, bytes in the code page; false when some of
    // them are no character of it.
    bool Decode(const std::string& text, std::u16string& out);

private:
    unsigned m_codePage;
    void* m_to = nullptr;    // platform state: towards the code page
    void* m_from = nullptr;  // and back, for the round-trip check
};
