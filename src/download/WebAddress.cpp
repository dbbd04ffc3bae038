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

}  // namespace download
