#include "Utf8Text.h"
#include "core/TextEncodingRules.h"

#include <cctype>
#include <cstdio>

namespace utf8 {

namespace {

unsigned char Byte(const std::string& text, size_t pos) {
    return static_cast<unsigned char>(text[pos]);
}

bool IsContinuation(unsigned char byte) { return (byte & 0xC0) == 0x80; }

bool IsWordByte(unsigned char byte) { return byte >= 0x80 || std::isalnum(byte); }

}  // namespace

bool StartsWithBom(const std::string& text) { return text.rfind(kBom, 0) == 0; }

size_t SequenceLength(const std::string& text, size_t pos, char32_t& character) {
    const unsigned char lead = Byte(text, pos);
    size_t length;
    char32_t value, minimum;
    if (lead < 0x80) {
        character = lead;
        return 1;
    } else if ((lead & 0xE0) == 0xC0) {
        length = 2, value = lead & 0x1F, minimum = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3, value = lead & 0x0F, minimum = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4, value = lead & 0x07, minimum = 0x10000;
    } else {
        return 0;
    }
    if (text.size() - pos < length) return 0;
    for (size_t i = 1; i < length; ++i) {
        if (!IsContinuation(Byte(text, pos + i))) return 0;
        value = (value << 6) | (Byte(text, pos + i) & 0x3F);
    }
    if (value < minimum || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) return 0;
    character = value;
    return length;
}

size_t FirstInvalid(const std::string& text) {
    char32_t character;
    for (size_t pos = 0, length; pos < text.size(); pos += length)
        if ((length = SequenceLength(text, pos, character)) == 0) return pos;
    return std::string::npos;
}

bool LooksLikeUtf8(const std::string& text) {
    bool wide = false;
    char32_t character;
    for (size_t pos = 0, length; pos < text.size(); pos += length) {
        length = SequenceLength(text, pos, character);
        if (length == 0) return false;
        wide = wide || length > 1;
    }
    return wide;
}

std::string WordAroundFirstWide(const std::string& text) {
    size_t wide = 0;
    while (wide < text.size() && Byte(text, wide) < 0x80) ++wide;
    if (wide == text.size()) return "";
    size_t begin = wide, end = wide;
    while (begin > 0 && IsWordByte(Byte(text, begin - 1))) --begin;
    while (end < text.size() && IsWordByte(Byte(text, end))) ++end;
    return text.substr(begin, end - begin);
}

std::string Encode(char32_t c) {
    std::string out;
    core::encoding::AppendUtf8(out, c);
    return out;
}

std::string CodePointName(char32_t character) {
    char text[16];
    std::snprintf(text, sizeof(text), "U+%04X", static_cast<unsigned>(character));
    return text;
}

}  // namespace utf8
