// The Rijndael block cipher and its chaining modes: FIPS-197 known answers,
// the 24- and 32-byte blocks against libmcrypt, chaining rebuilt from single
// blocks, parameter checks and key formation.
#include "CryptTestSupport.h"
#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

#include "crypt/RijndaelFileCrypt.h"
#include "crypt/RijndaelTables.h"

#ifdef CV_HAVE_MCRYPT
#include <mcrypt.h>
#endif

namespace {

using Bytes = std::vector<unsigned char>;
const int kSizes[] = {16, 24, 32};
const int kModes[] = {CRijndaelFileCrypt::ECB, CRijndaelFileCrypt::CBC, CRijndaelFileCrypt::CFB};

Bytes FromHex(const std::string& hex) {
    Bytes b;
    for (size_t i = 0; i + 1 < hex.size(); i += 2)
        b.push_back(static_cast<unsigned char>(std::stoi(hex.substr(i, 2), nullptr, 16)));
    return b;
}

Bytes Counting(int n, int start = 0) {
    Bytes b(n);
    for (int i = 0; i < n; ++i) b[i] = static_cast<unsigned char>(start + i);
    return b;
}

Bytes Random(size_t n, unsigned seed) {
    std::mt19937 rng(seed);
    Bytes b(n);
    for (auto& c : b) c = static_cast<unsigned char>(rng());
    return b;
}

void Init(CRijndaelFileCrypt& c, const Bytes& keyData, int keyLength, int blockSize,
          int mode = CRijndaelFileCrypt::ECB, const Bytes& chain = Bytes(32, 0),
          int padding = CRijndaelFileCrypt::PAD_ZEROS) {
    c.Initialize(keyData.data(), static_cast<int>(keyData.size()), chain.data(), keyLength,
                 blockSize, mode, padding);
}

Bytes Encrypt(CRijndaelFileCrypt& c, const Bytes& in) {
    Bytes out(in.size());
    c.EncryptBuffer(in.data(), out.data(), static_cast<int>(in.size()));
    return out;
}

Bytes Decrypt(CRijndaelFileCrypt& c, const Bytes& in) {
    Bytes out(in.size());
    c.DecryptBuffer(in.data(), out.data(), static_cast<int>(in.size()));
    return out;
}

const char kNotInitialized[] = "FileCrypt ERROR: Encryption/Decryption Object not Initialized!";

}  // namespace

// ---------------------------------------------------------------------------
// Known answers

TEST(CryptRijndael, Fips197AppendixC) {
    const Bytes plain = FromHex("00112233445566778899aabbccddeeff");
    const std::pair<int, const char*> cases[] = {
        {16, "69c4e0d86a7b0430d8cdb78070b4c55a"},
        {24, "dda97ca4864cdfe06eaf70a0ec0d7191"},
        {32, "8ea2b7ca516745bfeafc49904b496089"},
    };
    for (const auto& c : cases) {
        CRijndaelFileCrypt aes;
        Init(aes, Counting(c.first), c.first, 16);
        Bytes out(16), back(16);
        aes.EncryptBlock(plain.data(), out.data());
        EXPECT_EQ(out, FromHex(c.second)) << c.first;
        aes.DecryptBlock(out.data(), back.data());
        EXPECT_EQ(back, plain) << c.first;
        // The buffer interface in ECB gives the same.
        EXPECT_EQ(Encrypt(aes, plain), FromHex(c.second));
        EXPECT_EQ(Decrypt(aes, FromHex(c.second)), plain);
    }
}

TEST(CryptRijndael, Fips197AppendixB) {
    CRijndaelFileCrypt aes;
    Init(aes, FromHex("2b7e151628aed2a6abf7158809cf4f3c"), 16, 16);
    EXPECT_EQ(Encrypt(aes, FromHex("3243f6a8885a308d313198a2e0370734")),
              FromHex("3925841d02dc09fbdc118597196a0b32"));
}

TEST(CryptRijndael, PublishedTableValues) {
    const rijndael::Tables& t = rijndael::kTables;
    // Round constants are only partly reached by AES; large blocks with short
    // keys use all 30.
    EXPECT_EQ(Bytes(t.Rcon, t.Rcon + 30),
              FromHex("01020408102040801b366cd8ab4d9a2f5ebc63c697356ad4b37dfaefc591"));
    EXPECT_EQ(t.S[0x00], 0x63);
    EXPECT_EQ(t.S[0x53], 0xed);
    EXPECT_EQ(t.S[0xff], 0x16);
    for (int x = 0; x < 256; ++x) ASSERT_EQ(t.Si[t.S[x]], x);
    EXPECT_EQ(t.Te0[0x00], 0xc66363a5u);
    EXPECT_EQ(t.Td0[0x00], 0x51f4a750u);
}

// ---------------------------------------------------------------------------
// Chaining, rebuilt from single ECB blocks

TEST(CryptRijndael, ChainingModesFollowTheirDefinitions) {
    for (int bs : kSizes) {
        const Bytes key = Random(32, 1u + bs), iv = Random(32, 2u + bs);
        const Bytes plain = Random(bs * 5, 3u + bs);
        CRijndaelFileCrypt ecb, cbc, cfb;
        Init(ecb, key, 32, bs);
        Init(cbc, key, 32, bs, CRijndaelFileCrypt::CBC, iv);
        Init(cfb, key, 32, bs, CRijndaelFileCrypt::CFB, iv);

        Bytes expCbc, expCfb;
        Bytes chainCbc(iv.begin(), iv.begin() + bs), chainCfb = chainCbc;
        Bytes blk(bs);
        for (int off = 0; off < bs * 5; off += bs) {
            for (int i = 0; i < bs; ++i) chainCbc[i] ^= plain[off + i];
            ecb.EncryptBlock(chainCbc.data(), chainCbc.data());
            expCbc.insert(expCbc.end(), chainCbc.begin(), chainCbc.end());

            ecb.EncryptBlock(chainCfb.data(), blk.data());
            for (int i = 0; i < bs; ++i) chainCfb[i] = blk[i] ^ plain[off + i];
            expCfb.insert(expCfb.end(), chainCfb.begin(), chainCfb.end());
        }
        EXPECT_EQ(Encrypt(cbc, plain), expCbc) << bs;
        EXPECT_EQ(Encrypt(cfb, plain), expCfb) << bs;
    }
}

TEST(CryptRijndael, RoundTripEveryBlockKeyAndMode) {
    for (int bs : kSizes)
        for (int ks : kSizes)
            for (int mode : kModes) {
                SCOPED_TRACE(std::to_string(bs) + "/" + std::to_string(ks) + "/" + std::to_string(mode));
                const Bytes key = Random(ks, bs * 100 + ks), iv = Random(32, mode + 7u);
                const Bytes plain = Random(bs * 9, bs + ks + mode);
                CRijndaelFileCrypt c;
                Init(c, key, ks, bs, mode, iv);
                const Bytes cipher = Encrypt(c, plain);
                EXPECT_NE(cipher, plain);
                c.ResetChain();
                EXPECT_EQ(Decrypt(c, cipher), plain);

                // In place, and split over two calls: the chain carries over.
                c.ResetChain();
                Bytes work = plain;
                c.EncryptBuffer(work.data(), work.data(), bs * 4);
                c.EncryptBuffer(work.data() + bs * 4, work.data() + bs * 4, bs * 5);
                EXPECT_EQ(work, cipher);
                c.ResetChain();
                c.DecryptBuffer(work.data(), work.data(), bs * 2);
                c.DecryptBuffer(work.data() + bs * 2, work.data() + bs * 2, bs * 7);
                EXPECT_EQ(work, plain);
            }
}

TEST(CryptRijndael, ChainCarriesOverUntilReset) {
    CRijndaelFileCrypt c;
    Init(c, Counting(16), 16, 16, CRijndaelFileCrypt::CBC);
    const Bytes block(16, 0x5a);
    const Bytes first = Encrypt(c, block);
    EXPECT_NE(Encrypt(c, block), first);  // chained to the first
    c.ResetChain();
    EXPECT_EQ(Encrypt(c, block), first);
}

// ---------------------------------------------------------------------------
// Cross-check with libmcrypt (rijndael-N there means a block of N bits)

#ifdef CV_HAVE_MCRYPT
namespace {

Bytes Mcrypt(bool encrypt, int blockSize, const char* mode, const Bytes& key, Bytes iv,
             Bytes data) {
    std::string algo = "rijndael-" + std::to_string(blockSize * 8);
    MCRYPT td = mcrypt_module_open(&algo[0], nullptr, const_cast<char*>(mode), nullptr);
    EXPECT_TRUE(td != MCRYPT_FAILED) << algo;
    if (td == MCRYPT_FAILED) return {};
    EXPECT_EQ(mcrypt_enc_get_block_size(td), blockSize);
    const int rc = mcrypt_generic_init(td, const_cast<unsigned char*>(key.data()),
                                       static_cast<int>(key.size()), iv.data());
    EXPECT_GE(rc, 0);
    if (encrypt)
        mcrypt_generic(td, data.data(), static_cast<int>(data.size()));
    else
        mdecrypt_generic(td, data.data(), static_cast<int>(data.size()));
    mcrypt_generic_deinit(td);
    mcrypt_module_close(td);
    return data;
}

}  // namespace

TEST(CryptRijndaelMcrypt, HarnessMatchesFips197) {
    // Confirms that the library call takes the key length as given.
    for (int ks : kSizes) {
        const Bytes plain = FromHex("00112233445566778899aabbccddeeff");
        CRijndaelFileCrypt aes;
        Init(aes, Counting(ks), ks, 16);
        EXPECT_EQ(Mcrypt(true, 16, "ecb", Counting(ks), Bytes(16), plain), Encrypt(aes, plain));
    }
}

TEST(CryptRijndaelMcrypt, EveryBlockAndKeySizeBothDirections) {
    for (int bs : kSizes)
        for (int ks : kSizes) {
            SCOPED_TRACE(std::to_string(bs) + "/" + std::to_string(ks));
            const Bytes key = Random(ks, 11u * bs + ks);
            const Bytes plain = Random(bs * 12, 13u * bs + ks);
            CRijndaelFileCrypt c;
            Init(c, key, ks, bs);
            const Bytes theirs = Mcrypt(true, bs, "ecb", key, Bytes(bs), plain);
            EXPECT_EQ(Encrypt(c, plain), theirs);
            EXPECT_EQ(Decrypt(c, theirs), plain);
            // And the other way round: their decryption of our ciphertext.
            const Bytes cipher2 = Encrypt(c, Random(bs * 3, 99));
            EXPECT_EQ(Mcrypt(false, bs, "ecb", key, Bytes(bs), cipher2), Random(bs * 3, 99));
        }
}

TEST(CryptRijndaelMcrypt, CbcAndFullBlockCfb) {
    for (int bs : kSizes) {
        SCOPED_TRACE(bs);
        const Bytes key = Random(24, 5u * bs), iv = Random(32, 6u * bs);
        const Bytes plain = Random(bs * 7, 7u * bs);
        const Bytes ivBlock(iv.begin(), iv.begin() + bs);
        CRijndaelFileCrypt cbc, cfb;
        Init(cbc, key, 24, bs, CRijndaelFileCrypt::CBC, iv);
        Init(cfb, key, 24, bs, CRijndaelFileCrypt::CFB, iv);
        EXPECT_EQ(Encrypt(cbc, plain), Mcrypt(true, bs, "cbc", key, ivBlock, plain));
        // "ncfb" is CFB over whole blocks.
        EXPECT_EQ(Encrypt(cfb, plain), Mcrypt(true, bs, "ncfb", key, ivBlock, plain));
    }
}
#endif  // CV_HAVE_MCRYPT

// ---------------------------------------------------------------------------
// Key formation

TEST(CryptRijndael, ShortKeyDataRepeatsAndLongKeyDataIsCut) {
    const Bytes block = Random(32, 42);
    for (int ks : kSizes) {
        CRijndaelFileCrypt one, full;
        Init(one, Bytes{0x41}, ks, 32);
        Init(full, Bytes(ks, 0x41), ks, 32);
        EXPECT_EQ(Encrypt(one, block), Encrypt(full, block)) << ks;

        const Bytes longData = Random(40, 7);
        CRijndaelFileCrypt cut, exact;
        Init(cut, longData, ks, 32);
        Init(exact, Bytes(longData.begin(), longData.begin() + ks), ks, 32);
        EXPECT_EQ(Encrypt(cut, block), Encrypt(exact, block)) << ks;
        unsigned char s1[32], s2[32];
        cut.GetSignature(s1);
        exact.GetSignature(s2);
        EXPECT_EQ(0, std::memcmp(s1, s2, 32));
    }
}

TEST(CryptRijndael, FourteenByteKeyDataWrapsIntoSixteenByteKey) {
    const std::string data = ".p..ul.%.58190";
    const std::string key = data + data.substr(0, 2);
    CRijndaelFileCrypt a, b;
    Init(a, Bytes(data.begin(), data.end()), 16, 16);
    Init(b, Bytes(key.begin(), key.end()), 16, 16);
    const Bytes block = Random(16, 3);
    EXPECT_EQ(Encrypt(a, block), Encrypt(b, block));
}

// ---------------------------------------------------------------------------
// Parameter checks

TEST(CryptRijndael, InitializeChecksInOrder) {
    CRijndaelFileCrypt c;
    const Bytes k(32, 1), iv(32, 0);
    auto init = [&](const unsigned char* kd, int kl, int keyLen, int bs, int mode, int pad) {
        return ErrorOf([&] { c.Initialize(kd, kl, iv.data(), keyLen, bs, mode, pad); });
    };
    // Each failure also has every later parameter wrong: the order shows.
    EXPECT_EQ(init(nullptr, 0, 0, 0, 9, 9), "FileCrypt ERROR: No Key DataSpecified!");
    EXPECT_EQ(init(k.data(), 0, 0, 0, 9, 9), "FileCrypt ERROR: Key Data Length should be > 0!");
    EXPECT_EQ(init(k.data(), -3, 0, 0, 9, 9), "FileCrypt ERROR: Key Data Length should be > 0!");
    for (int bad : {0, 8, 20, 33, 64})
        EXPECT_EQ(init(k.data(), 16, bad, 0, 9, 9), "Illegal Key Length!") << bad;
    for (int bad : {0, 8, 20, 33, 64})
        EXPECT_EQ(init(k.data(), 16, 16, bad, 9, 9), "Illegal Block Size!") << bad;
    for (int bad : {-1, 3})
        EXPECT_EQ(init(k.data(), 16, 16, 16, bad, 9), "FileCrypt ERROR: Illegal Operation Mode!");
    for (int bad : {-1, 3})
        EXPECT_EQ(init(k.data(), 16, 16, 16, 0, bad), "FileCrypt ERROR: Illegal Padding Mode!");
    // None of them initialised the object.
    EXPECT_EQ(ErrorOf([&] { c.ResetChain(); }), kNotInitialized);
}

TEST(CryptRijndael, FailedInitializeLeavesPreviousStateUntouched) {
    const Bytes key = Random(24, 1), iv = Random(32, 2), plain = Random(24 * 4, 3);
    CRijndaelFileCrypt reference, c;
    Init(reference, key, 24, 24, CRijndaelFileCrypt::CBC, iv, CRijndaelFileCrypt::PAD_COUNT);
    Init(c, key, 24, 24, CRijndaelFileCrypt::CBC, iv, CRijndaelFileCrypt::PAD_COUNT);
    const Bytes firstHalf(plain.begin(), plain.begin() + 48), secondHalf(plain.begin() + 48, plain.end());
    const Bytes expected = Encrypt(reference, plain);

    Bytes got = Encrypt(c, firstHalf);
    const Bytes other(32, 9);
    EXPECT_EQ(ErrorOf([&] { Init(c, other, 16, 16, 3, other, 0); }),
              "FileCrypt ERROR: Illegal Operation Mode!");
    EXPECT_EQ(ErrorOf([&] { Init(c, other, 16, 16, 0, other, 7); }),
              "FileCrypt ERROR: Illegal Padding Mode!");
    // Same key, block size and working chain as before the failed calls.
    const Bytes rest = Encrypt(c, secondHalf);
    got.insert(got.end(), rest.begin(), rest.end());
    EXPECT_EQ(got, expected);
    Bytes pad(48, 0);
    EXPECT_EQ(c.PadBuffer(pad.data(), 1), 24);
    EXPECT_EQ(pad[1], 23);  // still PAD_COUNT
}

TEST(CryptRijndael, InitializeAgainReplacesEverything) {
    const Bytes plain = Random(32 * 2, 5);
    CRijndaelFileCrypt fresh, reused;
    Init(fresh, Counting(32), 32, 32, CRijndaelFileCrypt::CFB, Counting(32, 100));
    Init(reused, Counting(16, 50), 16, 16, CRijndaelFileCrypt::CBC);
    Encrypt(reused, Random(48, 6));  // advance the old chain
    Init(reused, Counting(32), 32, 32, CRijndaelFileCrypt::CFB, Counting(32, 100));
    EXPECT_EQ(Encrypt(reused, plain), Encrypt(fresh, plain));
    EXPECT_EQ(reused.BlockSize(), 32);
}

TEST(CryptRijndael, UninitialisedObjectRefusesEveryOperation) {
    CRijndaelFileCrypt c;
    unsigned char a[64] = {0}, b[64] = {0};
    EXPECT_EQ(ErrorOf([&] { c.EncryptBuffer(a, b, 16); }), kNotInitialized);
    EXPECT_EQ(ErrorOf([&] { c.DecryptBuffer(a, b, 16); }), kNotInitialized);
    EXPECT_EQ(ErrorOf([&] { c.EncryptBlock(a, b); }), kNotInitialized);
    EXPECT_EQ(ErrorOf([&] { c.DecryptBlock(a, b); }), kNotInitialized);
    EXPECT_EQ(ErrorOf([&] { c.ResetChain(); }), kNotInitialized);
    EXPECT_EQ(ErrorOf([&] { c.PadBuffer(a, 3); }), kNotInitialized);
    EXPECT_EQ(ErrorOf([&] { c.XorBlock(a, b); }), kNotInitialized);
    // The initialised check comes before the length check.
    EXPECT_EQ(ErrorOf([&] { c.EncryptBuffer(a, b, 5); }), kNotInitialized);
}

TEST(CryptRijndael, BufferLengthMustBeWholeBlocks) {
    for (int bs : kSizes) {
        CRijndaelFileCrypt c;
        Init(c, Counting(16), 16, bs);
        unsigned char a[128] = {0}, b[128] = {0};
        for (int n : {0, -bs, 1, bs - 1, bs + 1, bs * 2 + 8}) {
            EXPECT_EQ(ErrorOf([&] { c.EncryptBuffer(a, b, n); }), "Illegal Block Size!") << bs << " " << n;
            EXPECT_EQ(ErrorOf([&] { c.DecryptBuffer(a, b, n); }), "Illegal Block Size!") << bs << " " << n;
        }
        EXPECT_EQ(ErrorOf([&] { c.EncryptBuffer(a, b, bs * 3); }), "(no error)");
    }
}

// ---------------------------------------------------------------------------
// Padding and XorBlock

TEST(CryptRijndael, PadBufferFillsToTheNextBlockOnly) {
    const std::pair<int, int> paddings[] = {{CRijndaelFileCrypt::PAD_ZEROS, -1},
                                            {CRijndaelFileCrypt::PAD_BLANKS, 0x20},
                                            {CRijndaelFileCrypt::PAD_COUNT, -2}};
    for (int bs : kSizes)
        for (const auto& pad : paddings)
            for (int n = 0; n <= 3 * bs; ++n) {
                CRijndaelFileCrypt c;
                Init(c, Counting(16), 16, bs, 0, Bytes(32, 0), pad.first);
                Bytes buf(n + bs + 4, 0xee);
                const int len = c.PadBuffer(buf.data(), n);
                const int p = (bs - n % bs) % bs;
                ASSERT_EQ(len, n + p) << bs << " " << n;
                const int fill = pad.second == -1 ? 0 : pad.second == -2 ? p : pad.second;
                for (int i = 0; i < n; ++i) ASSERT_EQ(buf[i], 0xee);
                for (int i = n; i < n + p; ++i) ASSERT_EQ(buf[i], fill) << bs << " " << n;
                for (size_t i = n + p; i < buf.size(); ++i) ASSERT_EQ(buf[i], 0xee);
            }
}

TEST(CryptRijndael, XorBlockCoversExactlyOneBlock) {
    for (int bs : kSizes) {
        CRijndaelFileCrypt c;
        Init(c, Counting(16), 16, bs);
        Bytes a = Counting(40), b(40, 0xff);
        c.XorBlock(a.data(), b.data());
        for (int i = 0; i < 40; ++i)
            EXPECT_EQ(a[i], i < bs ? static_cast<unsigned char>(i ^ 0xff) : i) << bs << " " << i;
    }
}
