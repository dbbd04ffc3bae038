// The system's own tables: WC_NO_BEST_FIT_CHARS keeps WideCharToMultiByte
// from writing a look-alike, and the default character it would use instead
// is reported, so a character the code page lacks is refused.
#include "CodePageEncoder.h"

#include <windows.h>

#include <stdexcept>

namespace {

std::wstring Utf16(char32_t character) {
    if (character < 0x10000) return std::wstring(1, static_cast<wchar_t>(character));
    character -= 0x10000;
    return {static_cast<wchar_t>(0xD800 + (character >> 10)),
            static_cast<wchar_t>(0xDC00 + (character & 0x3FF))};
}

}  // namespace

CodePageEncoder::CodePageEncoder(unsigned codePage) : m_codePage(codePage) {
    if (!IsValidCodePage(codePage))
        throw std::runtime_error("cvpack: error: code page " + std::to_string(codePage) +
                                 " has no conversion table on this system");
}

CodePageEncoder::~CodePageEncoder() = default;

bool CodePageEncoder::Encode(char32_t character, std::string& out) {
    const std::wstring wide = Utf16(character);
    char bytes[16];
    BOOL usedDefault = FALSE;
    int length = WideCharToMultiByte(m_codePage, WC_NO_BEST_FIT_CHARS, wide.data(),
                                     static_cast<int>(wide.size()), bytes, sizeof(bytes), nullptr,
                                     &usedDefault);
    if (length <= 0 || usedDefault) return false;
    wchar_t back[8];
    int backLength = MultiByteToWideChar(m_codePage, MB_ERR_INVALID_CHARS, bytes, length, back, 8);
    if (backLength != static_cast<int>(wide.size()) || wide.compare(0, wide.size(), back, backLength) != 0)
        return false;
    out.append(bytes, static_cast<size_t>(length));
    return true;
}

bool CodePageEncoder::Decode(const std::string& text, std::u16string& out) {
    out.clear();
    if (text.empty()) return true;
    const int length = MultiByteToWideChar(m_codePage, MB_ERR_INVALID_CHARS, text.data(),
                                           static_cast<int>(text.size()), nullptr, 0);
    if (length <= 0) return false;
    std::wstring wide(static_cast<size_t>(length), L'\0');
    MultiByteToWideChar(m_codePage, MB_ERR_INVALID_CHARS, text.data(), static_cast<int>(text.size()), &wide[0],
                        length);
    out.assign(wide.begin(), wide.end());
    return true;
}
