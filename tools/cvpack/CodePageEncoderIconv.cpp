// glibc's iconv names the Windows code pages "CP<N>" (CP1252, CP932...).
// Opened without "//TRANSLIT", it refuses what the code page lacks instead of
// substituting something close.
#include "CodePageEncoder.h"

#include <iconv.h>

#include <stdexcept>

#include "core/TextEncodingRules.h"

namespace {

iconv_t Open(const std::string& to, const std::string& from, unsigned codePage) {
    iconv_t handle = iconv_open(to.c_str(), from.c_str());
    if (handle == reinterpret_cast<iconv_t>(-1))
        throw std::runtime_error("cvpack: error: code page " + std::to_string(codePage) +
                                 " has no conversion table on this system");
    return handle;
}

// Converts `in` whole; false when any of it cannot be converted or only
// irreversibly.
bool Convert(void* handle, const std::string& in, std::string& out) {
    iconv_t cd = static_cast<iconv_t>(handle);
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    char buffer[32];
    char* inPtr = const_cast<char*>(in.data());
    size_t inLeft = in.size();
    char* outPtr = buffer;
    size_t outLeft = sizeof(buffer);
    size_t result = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft);
    if (result != 0 || inLeft != 0) return false;
    // A stateful code page may need its closing shift sequence.
    if (iconv(cd, nullptr, nullptr, &outPtr, &outLeft) == static_cast<size_t>(-1)) return false;
    out.assign(buffer, static_cast<size_t>(outPtr - buffer));
    return true;
}

std::string Utf32(char32_t character) {
    std::string bytes(4, '\0');
    for (int i = 0; i < 4; ++i) bytes[i] = static_cast<char>((character >> (8 * i)) & 0xFF);
    return bytes;
}

}  // namespace

CodePageEncoder::CodePageEncoder(unsigned codePage) : m_codePage(codePage) {
    const std::string name = "CP" + std::to_string(codePage);
    m_to = Open(name, "UTF-32LE", codePage);
    try {
        m_from = Open("UTF-32LE", name, codePage);
    } catch (...) {
        iconv_close(static_cast<iconv_t>(m_to));
        throw;
    }
}

CodePageEncoder::~CodePageEncoder() {
    iconv_close(static_cast<iconv_t>(m_to));
    iconv_close(static_cast<iconv_t>(m_from));
}

bool CodePageEncoder::Encode(char32_t character, std::string& out) {
    const std::string wide = Utf32(character);
    std::string bytes, back;
    if (!Convert(m_to, wide, bytes) || bytes.empty()) return false;
    if (!Convert(m_from, bytes, back) || back != wide) return false;
    out += bytes;
    return true;
}

bool CodePageEncoder::Decode(const std::string& text, std::u16string& out) {
    iconv_t cd = static_cast<iconv_t>(m_from);
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    std::string wide(text.size() * 4 + 16, '\0');
    char* inPtr = const_cast<char*>(text.data());
    size_t inLeft = text.size();
    char* outPtr = &wide[0];
    size_t outLeft = wide.size();
    if (iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft) == static_cast<size_t>(-1) || inLeft != 0) return false;
    wide.resize(wide.size() - outLeft);
    out.clear();
    for (size_t i = 0; i + 4 <= wide.size(); i += 4) {
        char32_t c = 0;
        for (int b = 0; b < 4; ++b) c |= char32_t(static_cast<unsigned char>(wide[i + b])) << (8 * b);
        core::encoding::AppendUtf16(out, c);
    }
    return true;
}
