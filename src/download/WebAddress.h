// How a web address is taken apart for a request: scheme, host, port and the
// object asked for; the digest suffix a web item may carry; where a redirect
// may lead; the byte counts and ranges of response headers. Portable rules,
// shared by transfers and text fetches.
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

// The address as it is shown in the diagnostic log: "https://host:8443/object"
// (the port only when it is not the scheme's own).
std::string AddressText(const WebAddress& address);

// How many redirects one request follows before it is given up.
constexpr int kMaxRedirects = 5;

// 301, 302, 303, 307 and 308: the answer names another address in Location.
bool IsRedirectStatus(unsigned status);

enum class RedirectVerdict {
    Follow,     // the same scheme, or from http up to https
    Downgrade,  // from https down to http: what arrived could have been changed on the way
    Unusable    // no address the setup can ask (another scheme, no host, a bad port)
};

struct Redirect {
    RedirectVerdict verdict = RedirectVerdict::Unusable;
    WebAddress target;  // for Follow
};

// Where the Location `location` of an answer to `from` leads: an absolute
// address ("https://host/x", any case of the scheme), one without a scheme
// ("//host/x"), a path on the same server ("/x") or a path beside the object
// asked for ("x"). A fragment ("#...") is never sent.
Redirect ResolveRedirect(const WebAddress& from, const std::string& location);

// "bytes FIRST-LAST/TOTAL" or "bytes FIRST-LAST/*" of a 206 answer.
struct ContentRange {
    uint64_t first = 0;
    uint64_t last = 0;
    bool totalKnown = false;
    uint64_t total = 0;
};

// False for anything else (a list of ranges, "bytes */TOTAL", LAST before FIRST,
// LAST not below TOTAL).
bool ParseContentRange(const std::string& text, ContentRange& range);

// Whether a 206 answer to "Range: bytes=OFFSET-" continues the file: its range
// starts at `offset` and runs to the end of the file, whose size agrees with
// `knownTotal` (0: not known yet), and its Content-Length (when `hasLength`)
// is the range's size. Anything else would put bytes in the wrong place.
bool RangeContinues(const ContentRange& range, uint64_t offset, uint64_t knownTotal, bool hasLength,
                    uint64_t length);

}  // namespace download
