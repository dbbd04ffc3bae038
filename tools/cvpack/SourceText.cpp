#include "SourceText.h"

#include <fstream>
#include <set>
#include <sstream>
#include <stdexcept>

#include "Utf8Text.h"
#include "core/CodePage.h"

namespace {

constexpr unsigned kUtf8CodePage = 65001;

// Calls `each(line, number)` for every line of the text (split at LF, a CR
// before it kept: it converts as itself).
template <typename F>
void ForEachLine(const std::string& text, int firstLine, F each) {
    size_t start = 0;
    for (int number = firstLine;; ++number) {
        size_t end = text.find('\n', start);
        each(text.substr(start, end == std::string::npos ? std::string::npos : end - start), number);
        if (end == std::string::npos) return;
        start = end + 1;
    }
}

std::string HexByte(unsigned char byte) {
    static const char kHex[] = "0123456789ABCDEF";
    return std::string("0x") + kHex[byte >> 4] + kHex[byte & 15];
}

}  // namespace

bool IsSingleByteCodePage(unsigned codePage) {
    if (codePage == kUtf8CodePage) return false;
    for (unsigned byte = 0x80; byte <= 0xFF; ++byte)
        if (core::codepage::IsLeadByte(static_cast<unsigned char>(byte), codePage)) return false;
    return true;
}

SourceConverter::SourceConverter(unsigned codePage, Diagnostics& diagnostics)
    : m_codePage(codePage), m_diagnostics(diagnostics) {}

SourceConverter::~SourceConverter() = default;

SourceText SourceConverter::Read(const std::filesystem::path& path, const std::string& file,
                                 SourceEncoding mode) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    if (in) bytes << in.rdbuf();
    if (!in.is_open() || in.bad()) throw std::runtime_error(file + ": error: cannot read " + path.string());
    SourceText text;
    text.written = bytes.str();
    const bool bom = utf8::StartsWithBom(text.written);
    if (bom) text.written.erase(0, 3);
    text.utf8 = bom || mode == SourceEncoding::kUtf8;
    if (text.utf8) {
        text.shipped = ToCodePage(text.written, file, 1);
    } else {
        text.shipped = text.written;
        WarnIfLooksLikeUtf8(text.written, file, 1);
    }
    return text;
}

SourceText SourceConverter::ReadLanguageFile(const std::filesystem::path& path, const std::string& file,
                                             SourceEncoding mode) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    if (in) bytes << in.rdbuf();
    if (!in.is_open() || in.bad()) throw std::runtime_error(file + ": error: cannot read " + path.string());
    const std::string raw = bytes.str();
    const bool utf16 = raw.size() >= 2 && raw[0] == '\xFF' && raw[1] == '\xFE';
    if (!utf16 && !utf8::StartsWithBom(raw)) return Read(path, file, mode);
    SourceText text;
    text.utf8 = !utf16;
    text.shipped = raw;
    if (utf16) return text;
    text.written = raw.substr(3);
    ForEachLine(text.written, 1, [&](const std::string& line, int number) {
        const size_t bad = utf8::FirstInvalid(line);
        if (bad != std::string::npos)
            m_diagnostics.Error(file, number,
                                "invalid UTF-8 (byte " + HexByte(static_cast<unsigned char>(line[bad])) + ")");
    });
    return text;
}

std::string SourceConverter::ToCodePage(const std::string& text, const std::string& file, int line,
                                        const std::string& context) {
    std::string converted;
    bool first = true;
    ForEachLine(text, line, [&](const std::string& part, int number) {
        if (!first) converted += '\n';
        first = false;
        converted += LineToCodePage(part, file, number, context);
    });
    return converted;
}

std::string SourceConverter::LineToCodePage(const std::string& line, const std::string& file,
                                            int number, const std::string& context) {
    std::string converted;
    std::set<char32_t> refused;  // each character once a line
    bool invalid = false;
    char32_t character;
    for (size_t pos = 0, length; pos < line.size(); pos += length) {
        length = utf8::SequenceLength(line, pos, character);
        if (length == 0) {
            if (!invalid)
                m_diagnostics.Error(file, number,
                                    "invalid UTF-8 (byte " +
                                        HexByte(static_cast<unsigned char>(line[pos])) + ")" +
                                        context);
            invalid = true;
            length = 1;
        } else if (character < 0x80 || m_codePage == kUtf8CodePage) {
            converted.append(line, pos, length);
        } else {
            if (!m_encoder) m_encoder = std::make_unique<CodePageEncoder>(m_codePage);
            if (!m_encoder->Encode(character, converted) && refused.insert(character).second)
                m_diagnostics.Error(file, number,
                                    "\"" + line.substr(pos, length) + "\" (" +
                                        utf8::CodePointName(character) +
                                        ") cannot be written in code page " +
                                        std::to_string(m_codePage) + context);
        }
    }
    return converted;
}

void SourceConverter::WarnIfLooksLikeUtf8(const std::string& text, const std::string& file, int line) {
    if (!IsSingleByteCodePage(m_codePage)) return;
    ForEachLine(text, line, [&](const std::string& part, int number) {
        if (utf8::LooksLikeUtf8(part))
            m_diagnostics.Warning(file, number,
                                  "this line looks like UTF-8 (\"" + utf8::WordAroundFirstWide(part) +
                                      "\"); add a BOM or use --source-encoding utf-8");
    });
}
