#include "download/WebAddress.h"

#include <cctype>

namespace download {

namespace {

constexpr char kHttp[] = "http://";
constexpr char kHttps[] = "https://";

void RemoveAll(std::string& text, const std::string& what) {
    for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at)) text.erase(at, what.size());
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

bool IsHex(char c) { return std::isxdigit(static_cast<unsigned char>(c)) != 0; }

// Port 0 for anything that is not a number from 1 to 65535.
uint16_t ParsePort(const std::string& text) {
    if (text.empty() || text.size() > 5) return 0;
    unsigned value = 0;
    for (char c : text) {
        if (!IsDigit(c)) return 0;
        value = value * 10 + static_cast<unsigned>(c - '0');
    }
    return value <= 65535 ? static_cast<uint16_t>(value) : 0;
}

// The text starts with `prefix` in any case.
bool StartsWithNoCase(const std::string& text, const char* prefix) {
    size_t i = 0;
    for (; prefix[i]; ++i) {
        if (i >= text.size()) return false;
        if (std::tolower(static_cast<unsigned char>(text[i])) != prefix[i]) return false;
    }
    return true;
}

// A host name as a request can use it: no user part ("user@"), no blanks
// or control characters, no second colon.
bool UsableHost(const std::string& host) {
    if (host.empty()) return false;
    for (char c : host) {
        const unsigned char u = static_cast<unsigned char>(c);
        if (u <= ' ' || u == 0x7F || c == '@' || c == '\\' || c == ':') return false;
    }
    return true;
}

// "host[:port]" into `a`; false when the host or the port cannot be used.
bool SplitAuthority(const std::string& authority, WebAddress& a) {
    const size_t colon = authority.find(':');
    a.host = authority.substr(0, colon);
    if (colon != std::string::npos) a.port = ParsePort(authority.substr(colon + 1));
    else a.port = a.secure ? kHttpsPort : kHttpPort;
    return UsableHost(a.host) && a.port != 0;
}

// Reads decimal digits at `at` into `value`; false without any or past 18.
bool ReadNumber(const std::string& text, size_t& at, uint64_t& value) {
    const size_t start = at;
    while (at < text.size() && IsDigit(text[at])) ++at;
    return ParseByteCount(text.substr(start, at - start), value);
}

}  // namespace

WebAddress SplitAddress(const std::string& address) {
    WebAddress a;
    std::string rest = address;
    if (rest.compare(0, sizeof kHttps - 1, kHttps) == 0) {
        a.secure = true;
        a.port = kHttpsPort;
        rest.erase(0, sizeof kHttps - 1);
    } else {
        RemoveAll(rest, kHttp);
    }
    const size_t slash = rest.find('/');
    if (slash == std::string::npos) {
        a.object = rest;
        return a;
    }
    a.host = rest.substr(0, slash);
    a.object = rest.substr(slash + 1);
    const size_t colon = a.host.find(':');
    if (colon != std::string::npos) {
        a.port = ParsePort(a.host.substr(colon + 1));
        a.host.erase(colon);
    }
    return a;
}

DigestSplit SplitDigestSuffix(const std::string& address) {
    DigestSplit d;
    const size_t at = address.rfind(kDigestSuffix);
    d.address = address.substr(0, at);
    if (at == std::string::npos) return d;
    const std::string hex = address.substr(at + sizeof kDigestSuffix - 1);
    d.malformed = hex.size() != kSha256HexLength;
    for (char c : hex) {
        if (!IsHex(c)) d.malformed = true;
        d.sha256 += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    if (d.malformed) d.sha256.clear();
    return d;
}

bool ParseByteCount(const std::string& text, uint64_t& value) {
    if (text.empty() || text.size() > 18) return false;
    uint64_t v = 0;
    for (char c : text) {
        if (!IsDigit(c)) return false;
        v = v * 10 + static_cast<uint64_t>(c - '0');
    }
    value = v;
    return true;
}

std::string AddressText(const WebAddress& address) {
    std::string text = address.secure ? kHttps : kHttp;
    text += address.host;
    if (address.port != (address.secure ? kHttpsPort : kHttpPort)) text += ":" + std::to_string(address.port);
    return text + "/" + address.object;
}

bool IsRedirectStatus(unsigned status) {
    return status == 301 || status == 302 || status == 303 || status == 307 || status == 308;
}

Redirect ResolveRedirect(const WebAddress& from, const std::string& location) {
    Redirect r;
    std::string rest = location;
    for (char c : rest)
        if (static_cast<unsigned char>(c) < ' ' || c == 0x7F) return r;
    const size_t hash = rest.find('#');
    if (hash != std::string::npos) rest.erase(hash);
    while (!rest.empty() && rest.front() == ' ') rest.erase(0, 1);
    while (!rest.empty() && rest.back() == ' ') rest.pop_back();
    if (rest.empty()) return r;

    WebAddress& to = r.target;
    bool withServer = true;
    if (StartsWithNoCase(rest, kHttps)) {
        to.secure = true;
        rest.erase(0, sizeof kHttps - 1);
    } else if (StartsWithNoCase(rest, kHttp)) {
        rest.erase(0, sizeof kHttp - 1);
    } else if (rest.compare(0, 2, "//") == 0) {
        to.secure = from.secure;
        rest.erase(0, 2);
    } else {
        // A scheme of its own ("ftp:", "file:") comes before any "/" or "?".
        const size_t colon = rest.find(':');
        if (colon != std::string::npos && colon < rest.find_first_of("/?")) return r;
        withServer = false;
        to.secure = from.secure;
        to.host = from.host;
        to.port = from.port;
        const std::string path = from.object.substr(0, from.object.find('?'));
        if (rest.front() == '/') {
            to.object = rest.substr(1);
        } else if (rest.front() == '?') {
            to.object = path + rest;
        } else {
            // Beside the object asked for: in its folder.
            const size_t slash = path.rfind('/');
            to.object = (slash == std::string::npos ? std::string() : path.substr(0, slash + 1)) + rest;
        }
    }
    if (withServer) {
        const size_t end = rest.find_first_of("/?");
        if (!SplitAuthority(rest.substr(0, end), to)) return r;
        if (end != std::string::npos) to.object = rest.substr(rest[end] == '/' ? end + 1 : end);
    }
    if (!to.Usable()) return r;
    r.verdict = from.secure && !to.secure ? RedirectVerdict::Downgrade : RedirectVerdict::Follow;
    return r;
}

bool ParseContentRange(const std::string& text, ContentRange& range) {
    const std::string unit = "bytes ";
    if (!StartsWithNoCase(text, "bytes ")) return false;
    size_t at = unit.size();
    ContentRange r;
    if (!ReadNumber(text, at, r.first) || at >= text.size() || text[at++] != '-') return false;
    if (!ReadNumber(text, at, r.last) || at >= text.size() || text[at++] != '/') return false;
    if (at + 1 == text.size() && text[at] == '*') {
        r.totalKnown = false;
    } else {
        if (!ReadNumber(text, at, r.total) || at != text.size()) return false;
        r.totalKnown = true;
        if (r.last >= r.total) return false;
    }
    if (r.last < r.first) return false;
    range = r;
    return true;
}

bool RangeContinues(const ContentRange& range, uint64_t offset, uint64_t knownTotal, bool hasLength,
                    uint64_t length) {
    if (range.first != offset) return false;
    const uint64_t end = range.last + 1;
    if (range.totalKnown && end != range.total) return false;
    if (knownTotal != 0 && end != knownTotal) return false;
    return !hasLength || length == end - range.first;
}

}  // namespace download
