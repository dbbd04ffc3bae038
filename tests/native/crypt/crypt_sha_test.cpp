// SHA-256 against the FIPS 180-2 examples and digests from an independent
// implementation, including the padding boundaries around 56 and 64 bytes.
#include "CryptTestSupport.h"
#include <gtest/gtest.h>

#include <cstdio>
#include <stdexcept>
#include <string>
#include <vector>

#include "crypt/Sha.h"

namespace {

std::string Hex(const unsigned char* p, size_t n) {
    std::string s;
    char b[3];
    for (size_t i = 0; i < n; ++i) {
        std::snprintf(b, sizeof(b), "%02x", p[i]);
        s += b;
    }
    return s;
}

std::string Digest(CSHA& sha) {
    unsigned char d[CSHA::DIGEST_SIZE];
    sha.FinalDigest(d);
    return Hex(d, sizeof(d));
}

std::string Sha256(const std::string& text) {
    CSHA sha;
    sha.AddData(reinterpret_cast<const unsigned char*>(text.data()), static_cast<int>(text.size()));
    return Digest(sha);
}

}  // namespace

TEST(CryptSha, Fips180Examples) {
    EXPECT_EQ(Sha256("abc"), "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
    EXPECT_EQ(Sha256("abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq"),
              "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1");
}

TEST(CryptSha, MillionAInOneCallAndInUnevenPieces) {
    const std::string million(1000000, 'a');
    const char* expected = "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0";
    EXPECT_EQ(Sha256(million), expected);

    // Piece sizes cycle through values that straddle the 64-byte block in
    // every possible way.
    const int pieces[] = {1, 63, 64, 65, 7, 128, 3, 200, 55, 56, 57, 1000};
    CSHA sha;
    size_t done = 0;
    for (int i = 0; done < million.size(); ++i) {
        size_t n = static_cast<size_t>(pieces[i % 12]);
        if (n > million.size() - done) n = million.size() - done;
        sha.AddData(reinterpret_cast<const unsigned char*>(million.data() + done), static_cast<int>(n));
        done += n;
    }
    EXPECT_EQ(Digest(sha), expected);
}

TEST(CryptSha, PaddingBoundaries) {
    // Digests of n letters 'a' from an independent SHA-256.
    const std::pair<int, const char*> cases[] = {
        {55, "9f4390f8d30c2dd92ec9f095b65e2b9ae9b0a925a5258e241c9f1e910f734318"},
        {56, "b35439a4ac6f0948b6d6f9e3c6af0f5f590ce20f1bde7090ef7970686ec6738a"},
        {57, "f13b2d724659eb3bf47f2dd6af1accc87b81f09f59f2b75e5c0bed6589dfe8c6"},
        {63, "7d3e74a05d7db15bce4ad9ec0658ea98e3f06eeecf16b4c6fff2da457ddc2f34"},
        {64, "ffe054fe7ae0cb6dc65c3af9b61d5209f439851db43d0ba5997337df154668eb"},
        {65, "635361c48bb9eab14198e76ea8ab7f1a41685d6ad62aa9146d301d4f17eb0ae0"},
        {119, "31eba51c313a5c08226adf18d4a359cfdfd8d2e816b13f4af952f7ea6584dcfb"},
        {120, "2f3d335432c70b580af0e8e1b3674a7c020d683aa5f73aaaedfdc55af904c21c"},
        {128, "6836cf13bac400e9105071cd6af47084dfacad4e5e302c94bfed24e013afb73e"},
    };
    for (const auto& c : cases) EXPECT_EQ(Sha256(std::string(c.first, 'a')), c.second) << c.first;
}

TEST(CryptSha, EverySplitPointGivesTheSameDigest) {
    std::string text;
    for (int i = 0; i < 150; ++i) text += static_cast<char>(i * 7 + 1);
    const std::string whole = Sha256(text);
    const auto* p = reinterpret_cast<const unsigned char*>(text.data());
    for (int cut = 1; cut < 150; ++cut) {
        CSHA sha;
        sha.AddData(p, cut);
        sha.AddData(p + cut, 150 - cut);
        EXPECT_EQ(Digest(sha), whole) << cut;
    }
}

TEST(CryptSha, FinalDigestReturnsToInitialState) {
    CSHA sha;
    const auto* abc = reinterpret_cast<const unsigned char*>("abc");
    sha.AddData(abc, 3);
    const std::string first = Digest(sha);
    // No data since the digest: the object is back in its initial state.
    EXPECT_EQ(ErrorOf([&] {
                  unsigned char d[32];
                  sha.FinalDigest(d);
              }),
              "FileCrypt ERROR: in CSHA::FinalDigest(), No data Added before call!");
    sha.AddData(abc, 3);
    EXPECT_EQ(Digest(sha), first);
}

TEST(CryptSha, Errors) {
    CSHA sha;
    const unsigned char b = 0;
    EXPECT_EQ(ErrorOf([&] { sha.AddData(&b, 0); }),
              "FileCrypt ERROR: in CSHA::AddData(), Data Length should be > 0!");
    EXPECT_EQ(ErrorOf([&] { sha.AddData(&b, -5); }),
              "FileCrypt ERROR: in CSHA::AddData(), Data Length should be > 0!");
    // The refused calls added nothing.
    EXPECT_EQ(ErrorOf([&] {
                  unsigned char d[32];
                  sha.FinalDigest(d);
              }),
              "FileCrypt ERROR: in CSHA::FinalDigest(), No data Added before call!");
}
