#include "download/FileDigest.h"

#include <fstream>
#include <vector>

#include "crypt/Sha.h"

namespace download {

namespace {

// The digest of no bytes at all: the digest object refuses to finish without data.
constexpr char kEmptySha256[] = "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855";

constexpr size_t kChunk = 64 * 1024;

}  // namespace

std::string FileSha256Hex(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    if (!file) return std::string();
    CSHA sha;
    std::vector<char> buffer(kChunk);
    bool any = false;
    while (file) {
        file.read(buffer.data(), static_cast<std::streamsize>(buffer.size()));
        const std::streamsize got = file.gcount();
        if (got > 0) {
            sha.AddData(reinterpret_cast<const unsigned char*>(buffer.data()), static_cast<int>(got));
            any = true;
        }
    }
    if (file.bad()) return std::string();
    if (!any) return kEmptySha256;
    unsigned char digest[CSHA::DIGEST_SIZE];
    sha.FinalDigest(digest);
    static const char kHex[] = "0123456789abcdef";
    std::string hex;
    for (unsigned char b : digest) {
        hex += kHex[b >> 4];
        hex += kHex[b & 15];
    }
    return hex;
}

}  // namespace download
