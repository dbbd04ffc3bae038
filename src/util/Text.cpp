#include "util/Text.h"

#include <cstring>

namespace util::text {

char* CopyTruncated(char* dst, size_t dstSize, const char* src) {
    if (dstSize == 0) return dst;
    size_t n = src ? std::strlen(src) : 0;
    if (n >= dstSize) n = dstSize - 1;
    if (n) std::memcpy(dst, src, n);
    dst[n] = '\0';
    return dst;
}

std::string WithTrailingBackslash(const std::string& s) {
    if (!s.empty() && s.back() == '\\') return s;
    return s + '\\';
}

std::string ReplaceAll(const std::string& s, const std::string& from, const std::string& to) {
    if (from.empty()) return s;
    std::string out;
    size_t pos = 0;
    for (size_t hit; (hit = s.find(from, pos)) != std::string::npos; pos = hit + from.size()) {
        out.append(s, pos, hit - pos);
        out += to;
    }
    out.append(s, pos, std::string::npos);
    return out;
}

namespace {
char LowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }
}  // namespace

bool EqualsIgnoringAsciiCase(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (LowerAscii(a[i]) != LowerAscii(b[i])) return false;
    return true;
}

std::string AsciiLower(std::string s) {
    for (char& c : s) c = LowerAscii(c);
    return s;
}

std::string ControlCharactersShown(std::string s, bool keepLineFeeds) {
    for (char& c : s)
        if ((static_cast<unsigned char>(c) < 0x20 && !(keepLineFeeds && c == '\n')) || c == 0x7F) c = '?';
    return s;
}

bool IsWebAddress(const std::string& text) {
    for (const char* scheme : {"http://", "https://"}) {
        const std::string prefix = scheme;
        if (text.size() > prefix.size() && EqualsIgnoringAsciiCase(text.substr(0, prefix.size()), prefix)) return true;
    }
    return false;
}

bool IsFullPath(const std::string& path) {
    const bool letter = !path.empty() && LowerAscii(path[0]) >= 'a' && LowerAscii(path[0]) <= 'z';
    if (path.size() >= 3 && letter && path[1] == ':' && path[2] == '\\') return true;
    return path.size() >= 3 && path[0] == '\\' && path[1] == '\\' && path[2] != '\\' && path[2] != '?' &&
           path[2] != '.';
}

std::string WithoutTrailingBackslashes(std::string s) {
    while (!s.empty() && s.back() == '\\') s.pop_back();
    return s;
}

}  // namespace util::text
