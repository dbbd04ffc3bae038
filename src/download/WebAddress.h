// How a web address is taken apart for a request: scheme, host, port and the
// object asked for; the digest suffix a web item may carry; the byte counts
// of response headers. Portable rules, shared by transfers and text fetches.
#pragma once

#include <cstdint>
#include <string>

namespace download {

constexpr uint16_t kHttpPort = 80;
constexpr uint16_t kHttpsPort = 443;

struct WebAddress {
    bool secure = false;   // "https://": an encrypted request to port 443 by default
    std::string host;      // without the port
    uint16_t port = kHttpPort;
    std::string object;    // the path after the host's "/", without that slash

    // A request can be made: there is a host and a usable port.
    bool Usable() const { return !host.empty() && port != 0; }
};

// An address that begins with "https://" is secure (port 443); otherwise
// every "http://" is removed, as the setup always has. The host is the text
// before the first "/", the object the text after it; an address without a
// "/" has no host. A host ending in ":digits" names its port (1 to 65535);
// any other text after a colon in the host (an "ftp:" address) leaves port 0,
// which no request is made to.
WebAddress SplitAddress(const std::string& address);

constexpr char kDigestSuffix[] = "#sha256=";
constexpr size_t kSha256HexLength = 64;

struct DigestSplit {
    std::string address;    // the address without its suffix
    std::string sha256;     // 64 lower-case hex digits, or "" without a suffix
    bool malformed = false; // a "#sha256=" not followed by exactly 64 hex digits to the end
};

// Takes "#sha256=<64 hex digits>" off the end of an address. A malformed
// suffix is still taken off (so it is never requested) and reported: the
// file cannot be checked, so it must not be kept.
DigestSplit SplitDigestSuffix(const std::string& address);

// Reads a header's decimal byte count (Content-Length): digits only, at most
// 18 of them; false for anything else, which counts as no length.
bool ParseByteCount(const std::string& text, uint64_t& value);

}  // namespace download
