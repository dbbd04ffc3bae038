// The project's text files (setup.inf, data.inf, the language files) as the
// author wrote them and as they ship. Authors today write UTF-8; the setup
// reads its texts in the ANSI code page of the machine it runs on. A file is
// read as UTF-8 when it starts with a byte order mark or when the build is
// told so, and is then converted to the target code page; every character
// that code page cannot hold and every malformed byte is an error on its line.
// A file in the code page itself ships as it is, with a warning for each line
// that looks like UTF-8 all the same.
#pragma once

#include <filesystem>
#include <memory>
#include <string>

#include "CodePageEncoder.h"
#include "Diagnostics.h"

enum class SourceEncoding {
    kAnsi,  // bytes in the target code page, unless the file starts with a BOM
    kUtf8,  // every text file UTF-8, with or without a BOM
};

struct SourceText {
    bool utf8 = false;    // read as UTF-8
    std::string written;  // as written, BOM dropped: its paths name files on disk
    std::string shipped;  // in the target code page: what the setup reads
};

class SourceConverter {
public:
    SourceConverter(unsigned codePage, Diagnostics& diagnostics);
    ~SourceConverter();

    unsigned CodePage() const { return m_codePage; }

    // Reads a text file, `file` naming it in messages; an unreadable file
    // throws std::runtime_error.
    SourceText Read(const std::filesystem::path& path, const std::string& file, SourceEncoding mode);

    // A language file: one that starts with a UTF-8 or UTF-16 LE byte order
    // mark ships byte for byte, mark included, for the setup shows such a
    // file in Unicode whatever the system's code page (a UTF-8 one with an
    // invalid byte is an error on its line); any other is read as Read does.
    SourceText ReadLanguageFile(const std::filesystem::path& path, const std::string& file, SourceEncoding mode);

    // UTF-8 text in the target code page. Problems are reported as errors of
    // `file`, the text's first line being `line`, followed by `context` when
    // the text is not the line itself; the characters at fault are left out.
    std::string ToCodePage(const std::string& text, const std::string& file, int line,
                           const std::string& context = "");

    // Warns, for each line of a text in the code page that looks like UTF-8,
    // that it probably is; only in single-byte code pages, where a real text
    // almost never looks so.
    void WarnIfLooksLikeUtf8(const std::string& text, const std::string& file, int line);

private:
    std::string LineToCodePage(const std::string& line, const std::string& file, int number,
                               const std::string& context);

    unsigned m_codePage;
    Diagnostics& m_diagnostics;
    std::unique_ptr<CodePageEncoder> m_encoder;  // made when first needed
};

// A code page whose every character is one byte: neither one of the East
// Asian double-byte code pages nor UTF-8 (65001).
bool IsSingleByteCodePage(unsigned codePage);
