#include "core/CodePage.h"

#include <cstring>

namespace core::codepage {

namespace {

bool InSet(char c, const char* set) { return c != '\0' && std::strchr(set, c) != nullptr; }

}  // namespace

bool IsLeadByte(unsigned char byte, unsigned codePage) {
    switch (codePage) {
        case 932:
            return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
        case 936:
        case 949:
        case 950:
            return byte >= 0x81 && byte <= 0xFE;
        default:
            return false;
    }
}

size_t CharacterLength(const std::string& text, size_t pos, unsigned codePage) {
    // No double-byte code page has trail bytes below 0x40, where the path
    // characters '/', ':', '.', '*', '?', '"', '<' and '>' lie: after a lead
    // byte they are characters of their own, as Windows converts them.
    const bool pair = pos + 1 < text.size() && static_cast<unsigned char>(text[pos + 1]) >= 0x40 &&
                      IsLeadByte(static_cast<unsigned char>(text[pos]), codePage);
    return pair ? 2 : 1;
}

size_t FindFirstOf(const std::string& text, const char* set, unsigned codePage, size_t from) {
    for (size_t pos = from, length = 0; pos < text.size(); pos += length) {
        length = CharacterLength(text, pos, codePage);
        if (length == 1 && InSet(text[pos], set)) return pos;
    }
    return std::string::npos;
}

size_t FindLastOf(const std::string& text, const char* set, unsigned codePage) {
    // Character boundaries are only known from the start, so the walk goes forward.
    size_t last = std::string::npos;
    for (size_t pos = 0, length = 0; pos < text.size(); pos += length) {
        length = CharacterLength(text, pos, codePage);
        if (length == 1 && InSet(text[pos], set)) last = pos;
    }
    return last;
}

}  // namespace core::codepage
