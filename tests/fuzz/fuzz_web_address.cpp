// Web addresses of download items: scheme, host, port, path, the digest
// suffix, byte counts and ranges from response headers, and where a
// redirect's Location leads.
#include <cstdint>
#include <string>

#include "FuzzInput.h"
#include "download/WebAddress.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    const download::DigestSplit split = download::SplitDigestSuffix(text);
    if (split.address.size() > text.size()) __builtin_trap();
    if (!split.sha256.empty() && split.sha256.size() != download::kSha256HexLength) __builtin_trap();
    const download::WebAddress a = download::SplitAddress(split.address);
    if (a.host.size() + a.object.size() > text.size()) __builtin_trap();
    uint64_t count = 0;
    download::ParseByteCount(text, count);
    download::ContentRange range;
    if (download::ParseContentRange(text, range)) {
        if (range.last < range.first || (range.totalKnown && range.last >= range.total)) __builtin_trap();
        download::RangeContinues(range, range.first, range.totalKnown ? range.total : 0, true, count);
    }
    // The Location as a server sends it, against a secure and a plain address.
    for (const char* from : {"https://a.example:8443/dir/f.zip?v=1", "http://a.example/f"}) {
        const download::WebAddress origin = download::SplitAddress(from);
        const download::Redirect r = download::ResolveRedirect(origin, text);
        if (r.verdict == download::RedirectVerdict::Follow) {
            if (!r.target.Usable() || (origin.secure && !r.target.secure)) __builtin_trap();
            if (download::AddressText(r.target).size() > text.size() + 64) __builtin_trap();
        }
    }
    return 0;
}
