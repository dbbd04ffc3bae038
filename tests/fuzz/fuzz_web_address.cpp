// Web addresses of download items: scheme, host, port, path, the digest
// suffix and byte counts from response headers.
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
    return 0;
}
