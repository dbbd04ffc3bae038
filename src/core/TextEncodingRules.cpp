#include "core/TextEncodingRules.h"

#include <cstdint>

namespace core::encoding {

void AppendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

void AppendUtf16(std::u16string& out, char32_t c) {
    if (c < 0x10000) {
        out += static_cast<char16_t>(c);
        return;
    }
    c -= 0x10000;
    out += static_cast<char16_t>(0xD800 + (c >> 10));
    out += static_cast<char16_t>(0xDC00 + (c & 0x3FF));
}


namespace {

constexpr char32_t kReplacement = 0xFFFD;

unsigned char Byte(const std::string& s, size_t i) { return static_cast<unsigned char>(s[i]); }

bool IsContinuation(unsigned char b) { return (b & 0xC0) == 0x80; }

// The character at `pos` of UTF-8 `s` and its length; a sequence that is no
// character (stray continuation, cut, over-long, surrogate, above U+10FFFF)
// reads as U+FFFD of length 1, so decoding resumes at the next byte.
char32_t NextUtf8(const std::string& s, size_t pos, size_t* length) {
    const unsigned char lead = Byte(s, pos);
    *length = 1;
    if (lead < 0x80) return lead;
    size_t n;
    char32_t c;
    char32_t least;
    if ((lead & 0xE0) == 0xC0) n = 2, c = lead & 0x1F, least = 0x80;
    else if ((lead & 0xF0) == 0xE0) n = 3, c = lead & 0x0F, least = 0x800;
    else if ((lead & 0xF8) == 0xF0) n = 4, c = lead & 0x07, least = 0x10000;
    else return kReplacement;
    if (pos + n > s.size()) return kReplacement;
    for (size_t i = 1; i < n; ++i) {
        if (!IsContinuation(Byte(s, pos + i))) return kReplacement;
        c = (c << 6) | (Byte(s, pos + i) & 0x3F);
    }
    if (c < least || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return kReplacement;
    *length = n;
    return c;
}

std::string FromUtf8(const std::string& bytes, size_t start) {
    std::string out;
    out.reserve(bytes.size() - start);
    for (size_t pos = start, length = 0; pos < bytes.size(); pos += length)
        AppendUtf8(out, NextUtf8(bytes, pos, &length));
    return out;
}

std::string FromUtf16Le(const std::string& bytes, size_t start) {
    std::string out;
    out.reserve(bytes.size());
    size_t pos = start;
    auto unit = [&](size_t at) { return static_cast<char16_t>(Byte(bytes, at) | (Byte(bytes, at + 1) << 8)); };
    while (pos + 1 < bytes.size()) {
        const char16_t u = unit(pos);
        pos += 2;
        if (u >= 0xD800 && u <= 0xDBFF && pos + 1 < bytes.size()) {
            const char16_t low = unit(pos);
            if (low >= 0xDC00 && low <= 0xDFFF) {
                pos += 2;
                AppendUtf8(out, 0x10000 + ((static_cast<char32_t>(u) - 0xD800) << 10) + (low - 0xDC00));
                continue;
            }
        }
        AppendUtf8(out, (u >= 0xD800 && u <= 0xDFFF) ? kReplacement : u);
    }
    if (pos < bytes.size()) AppendUtf8(out, kReplacement);  // an odd last byte
    return out;
}

}  // namespace

TextEncoding DetectEncoding(const std::string& bytes) {
    if (bytes.size() >= 3 && Byte(bytes, 0) == 0xEF && Byte(bytes, 1) == 0xBB && Byte(bytes, 2) == 0xBF)
        return TextEncoding::Utf8;
    if (bytes.size() >= 2 && Byte(bytes, 0) == 0xFF && Byte(bytes, 1) == 0xFE) return TextEncoding::Utf16Le;
    return TextEncoding::Ansi;
}

Decoded DecodeToUtf8(const std::string& bytes) {
    Decoded result;
    if (bytes.size() > kMaxUnicodeFileSize) {
        result.error = "larger than " + std::to_string(kMaxUnicodeFileSize) + " bytes";
        return result;
    }
    switch (DetectEncoding(bytes)) {
    case TextEncoding::Utf8:
        result.utf8 = FromUtf8(bytes, 3);
        break;
    case TextEncoding::Utf16Le:
        result.utf8 = FromUtf16Le(bytes, 2);
        break;
    case TextEncoding::Ansi:
        result.error = "no UTF-8 or UTF-16 byte-order mark";
        return result;
    }
    result.ok = true;
    return result;
}

std::string FirstCharacters(const std::string& utf8, size_t count) {
    size_t pos = 0;
    for (size_t n = 0; n < count && pos < utf8.size(); ++n) {
        size_t length = 0;
        NextUtf8(utf8, pos, &length);
        pos += length;
    }
    return utf8.substr(0, pos);
}

}  // namespace core::encoding
