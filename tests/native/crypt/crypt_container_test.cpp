// Encrypted containers: signature, padding, chunking, the project parameters
// and what each failure leaves behind on disk.
#include "CryptTestSupport.h"
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

#include "crypt/ProjectCipher.h"
#include "crypt/RijndaelFileCrypt.h"
#include "crypt/Sha.h"

namespace fs = std::filesystem;

namespace {

using Bytes = std::vector<unsigned char>;

const std::string kProjectKeyData = ".p..ul.%.58190";

Bytes FromHex(const std::string& hex) {
    Bytes b;
    for (size_t i = 0; i + 1 < hex.size(); i += 2)
        b.push_back(static_cast<unsigned char>(std::stoi(hex.substr(i, 2), nullptr, 16)));
    return b;
}

Bytes Random(size_t n, unsigned seed) {
    std::mt19937 rng(seed);
    Bytes b(n);
    for (auto& c : b) c = static_cast<unsigned char>(rng());
    return b;
}

Bytes Sha256(const std::string& text) {
    CSHA sha;
    sha.AddData(reinterpret_cast<const unsigned char*>(text.data()), static_cast<int>(text.size()));
    Bytes d(32);
    sha.FinalDigest(d.data());
    return d;
}

Bytes Signature(CRijndaelFileCrypt& c) {
    Bytes s(32);
    c.GetSignature(s.data());
    return s;
}

void Init(CRijndaelFileCrypt& c, const std::string& keyData, int keyLength, int blockSize,
          int mode, int padding, const Bytes& chain = Bytes(32, 0)) {
    c.Initialize(reinterpret_cast<const unsigned char*>(keyData.data()),
                 static_cast<int>(keyData.size()), chain.data(), keyLength, blockSize, mode, padding);
}

class CryptContainer : public ::testing::Test {
protected:
    void SetUp() override {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        dir_ = fs::temp_directory_path() /
               (std::string("cv_crypt_") + info->name() + "_" + std::to_string(std::random_device{}()));
        fs::create_directories(dir_);
        InitializeProjectCipher(project_);
    }
    void TearDown() override { fs::remove_all(dir_); }

    std::string Path(const std::string& name) const { return (dir_ / name).string(); }

    static void Write(const std::string& path, const Bytes& data) {
        std::ofstream f(path, std::ios::binary);
        f.write(reinterpret_cast<const char*>(data.data()), data.size());
    }
    static Bytes Read(const std::string& path) {
        std::ifstream f(path, std::ios::binary);
        return Bytes(std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>());
    }

    // Encrypts plain to a container and decrypts it back; returns the container.
    Bytes RoundTrip(CRijndaelFileCrypt& c, const Bytes& plain, Bytes* decrypted) {
        Write(Path("plain"), plain);
        c.EncryptFile(Path("plain").c_str(), Path("box").c_str());
        c.DecryptFile(Path("box").c_str(), Path("back").c_str());
        *decrypted = Read(Path("back"));
        return Read(Path("box"));
    }

    fs::path dir_;
    CRijndaelFileCrypt project_;
};

}  // namespace

// ---------------------------------------------------------------------------
// Format

TEST_F(CryptContainer, ProjectSignatureIsHashOfKeyTextAndParameters) {
    const std::string text = "RIJNDAEL" + kProjectKeyData + kProjectKeyData.substr(0, 2) + "161600";
    EXPECT_EQ(Signature(project_), Sha256(text));
    // The same digest from an independent SHA-256.
    EXPECT_EQ(Signature(project_),
              FromHex("c436dab835632cde81fe0bc20693f4dda5919994526d33a69ac435b7d5a3e713"));
}

TEST_F(CryptContainer, SignatureTextForOtherParameters) {
    CRijndaelFileCrypt c;
    const std::string key = "ABCDEFGHIJKLMNOPQRSTUVWX";
    Init(c, key, 24, 32, CRijndaelFileCrypt::CFB, CRijndaelFileCrypt::PAD_BLANKS);
    EXPECT_EQ(Signature(c), Sha256("RIJNDAEL" + key + "322421"));
}

TEST_F(CryptContainer, ZeroKeyByteEndsTheSignatureText) {
    CRijndaelFileCrypt c;
    Init(c, std::string("A\0", 2), 16, 16, 0, 0);
    EXPECT_EQ(Signature(c), Sha256("RIJNDAELA"));
    Init(c, std::string("\0B", 2), 32, 24, 1, 2);
    EXPECT_EQ(Signature(c), Sha256("RIJNDAEL"));
}

TEST_F(CryptContainer, GoldenProjectContainer) {
    // AES-128-ECB from an independent tool, key ".p..ul.%.58190.p", over the
    // 17 bytes "Corvane container" and 15 zero bytes.
    const std::string text = "Corvane container";
    Bytes back;
    const Bytes box = RoundTrip(project_, Bytes(text.begin(), text.end()), &back);
    EXPECT_EQ(box, FromHex("c436dab835632cde81fe0bc20693f4dda5919994526d33a69ac435b7d5a3e713"
                           "603db6ae05f1c35b7654adac9d73c51745059571eb6ec7ad76b9064e6dc09551"));
    Bytes expected(text.begin(), text.end());
    expected.resize(32, 0);
    EXPECT_EQ(back, expected);
}

TEST_F(CryptContainer, EmptyPlaintextIsSignatureOnly) {
    Write(Path("back"), Bytes(100, 'x'));  // decryption must truncate it
    Bytes back;
    const Bytes box = RoundTrip(project_, Bytes(), &back);
    EXPECT_EQ(box, Signature(project_));
    EXPECT_TRUE(back.empty());
    EXPECT_TRUE(fs::exists(Path("back")));
}

TEST_F(CryptContainer, ShortPlaintextIsPaddedPerMode) {
    const Bytes plain = Random(17, 1);
    const std::pair<int, unsigned char> paddings[] = {{CRijndaelFileCrypt::PAD_ZEROS, 0x00},
                                                      {CRijndaelFileCrypt::PAD_BLANKS, 0x20},
                                                      {CRijndaelFileCrypt::PAD_COUNT, 0x0f}};
    for (const auto& pad : paddings) {
        CRijndaelFileCrypt c;
        Init(c, kProjectKeyData, 16, 16, CRijndaelFileCrypt::ECB, pad.first);
        Bytes back;
        EXPECT_EQ(RoundTrip(c, plain, &back).size(), 64u);
        Bytes expected = plain;
        expected.resize(32, pad.second);
        EXPECT_EQ(back, expected) << pad.first;
    }
}

TEST_F(CryptContainer, WholeBlocksGetNoPadding) {
    for (size_t n : {16u, 384u, 768u}) {
        const Bytes plain = Random(n, static_cast<unsigned>(n));
        Bytes back;
        EXPECT_EQ(RoundTrip(project_, plain, &back).size(), n + 32);
        EXPECT_EQ(back, plain);
    }
}

TEST_F(CryptContainer, ChunkingNeverChangesTheCiphertext) {
    // Lengths around the 384-byte chunks and the 512-byte reads, every block
    // size and mode: the container must equal one pass over the padded text.
    const Bytes chain = Random(32, 77);
    for (int bs : {16, 24, 32})
        for (int mode : {0, 1, 2})
            for (size_t n : {1u, 15u, 383u, 384u, 385u, 511u, 512u, 513u, 1000u, 1024u, 1025u, 1152u, 2000u}) {
                SCOPED_TRACE(std::to_string(bs) + "/" + std::to_string(mode) + "/" + std::to_string(n));
                CRijndaelFileCrypt c;
                Init(c, "chunk key", 32, bs, mode, CRijndaelFileCrypt::PAD_COUNT, chain);
                const Bytes plain = Random(n, static_cast<unsigned>(n + bs + mode));
                Bytes back;
                const Bytes box = RoundTrip(c, plain, &back);

                Bytes padded = plain;
                padded.resize(n + bs);
                padded.resize(c.PadBuffer(padded.data(), static_cast<int>(n)));
                c.ResetChain();
                Bytes whole(padded.size());
                c.EncryptBuffer(padded.data(), whole.data(), static_cast<int>(padded.size()));
                ASSERT_EQ(box.size(), 32 + whole.size());
                EXPECT_TRUE(std::equal(whole.begin(), whole.end(), box.begin() + 32));
                EXPECT_EQ(back, padded);
            }
}

TEST_F(CryptContainer, LargeFileRoundTrips) {
    const Bytes plain = Random(1 << 20, 2024);
    Bytes back;
    EXPECT_EQ(RoundTrip(project_, plain, &back).size(), plain.size() + 32);
    EXPECT_TRUE(back == plain);

    CRijndaelFileCrypt c;
    Init(c, "large", 32, 32, CRijndaelFileCrypt::CBC, 0, Random(32, 1));
    const Bytes odd = Random((1 << 20) + 5, 2025);
    RoundTrip(c, odd, &back);
    ASSERT_EQ(back.size(), odd.size() + 27);
    EXPECT_TRUE(std::equal(odd.begin(), odd.end(), back.begin()));
}

// ---------------------------------------------------------------------------
// Chaining across calls

TEST_F(CryptContainer, ChainCarriesOverBuffersButFilesResetIt) {
    for (int mode : {CRijndaelFileCrypt::CBC, CRijndaelFileCrypt::CFB}) {
        CRijndaelFileCrypt c;
        Init(c, "chain", 16, 16, mode, 0, Random(32, 5));
        const Bytes plain = Random(160, 6);
        Bytes once(160), twice(160);
        c.EncryptBuffer(plain.data(), once.data(), 160);
        c.ResetChain();
        c.EncryptBuffer(plain.data(), twice.data(), 64);
        c.EncryptBuffer(plain.data() + 64, twice.data() + 64, 96);
        EXPECT_EQ(once, twice) << mode;

        Write(Path("p"), plain);
        c.EncryptFile(Path("p").c_str(), Path("c1").c_str());
        c.EncryptBuffer(plain.data(), twice.data(), 160);  // moves the chain on
        c.EncryptFile(Path("p").c_str(), Path("c2").c_str());
        EXPECT_EQ(Read(Path("c1")), Read(Path("c2"))) << mode;
        const Bytes box = Read(Path("c1"));
        EXPECT_TRUE(std::equal(once.begin(), once.end(), box.begin() + 32)) << mode;
    }
}

// ---------------------------------------------------------------------------
// Failures and what they leave behind

TEST_F(CryptContainer, WrongKeyDataLeavesEmptyOutput) {
    Write(Path("plain"), Random(1000, 3));
    project_.EncryptFile(Path("plain").c_str(), Path("box").c_str());
    Write(Path("out"), Bytes(50, 'x'));

    CRijndaelFileCrypt other;
    Init(other, ".p..ul.%.58191", 16, 16, 0, 0);
    EXPECT_EQ(ErrorOf([&] { other.DecryptFile(Path("box").c_str(), Path("out").c_str()); }),
              "FileCrypt ERROR: File " + Path("box") + " cannot be Correctly Decrypted!");
    EXPECT_TRUE(fs::exists(Path("out")));
    EXPECT_EQ(fs::file_size(Path("out")), 0u);

    // Same key, other parameters: also refused.
    Init(other, kProjectKeyData, 16, 16, CRijndaelFileCrypt::CBC, 0);
    EXPECT_NE(ErrorOf([&] { other.DecryptFile(Path("box").c_str(), Path("out").c_str()); }),
              "(no error)");
}

TEST_F(CryptContainer, ContainerShorterThanSignature) {
    const Bytes sig = Signature(project_);
    for (size_t n : {0u, 1u, 31u}) {
        Write(Path("box"), Bytes(sig.begin(), sig.begin() + n));
        EXPECT_EQ(ErrorOf([&] { project_.DecryptFile(Path("box").c_str(), Path("out").c_str()); }),
                  "FileCrypt ERROR: File " + Path("box") + " cannot be Correctly Decrypted!");
        EXPECT_EQ(fs::file_size(Path("out")), 0u);
    }
}

TEST_F(CryptContainer, RaggedCiphertextWritesWholeChunksThenFails) {
    const Bytes plain = Random(400, 8);
    Write(Path("plain"), plain);
    project_.EncryptFile(Path("plain").c_str(), Path("box").c_str());
    Bytes box = Read(Path("box"));
    ASSERT_EQ(box.size(), 32u + 400u);
    box.resize(32 + 390);
    Write(Path("box"), box);
    EXPECT_EQ(ErrorOf([&] { project_.DecryptFile(Path("box").c_str(), Path("out").c_str()); }),
              "Illegal Block Size!");
    EXPECT_EQ(Read(Path("out")), Bytes(plain.begin(), plain.begin() + 384));

    box.resize(32 + 20);  // ragged within the first chunk
    Write(Path("box"), box);
    EXPECT_EQ(ErrorOf([&] { project_.DecryptFile(Path("box").c_str(), Path("out").c_str()); }),
              "Illegal Block Size!");
    EXPECT_EQ(fs::file_size(Path("out")), 0u);
}

TEST_F(CryptContainer, SamePathIsRefusedBeforeOpeningAnything) {
    const std::string p = Path("nothing-here");
    const std::string msg = "FileCrypt ERROR: The same File for Input and Output " + p + "!";
    EXPECT_EQ(ErrorOf([&] { project_.EncryptFile(p.c_str(), p.c_str()); }), msg);
    EXPECT_EQ(ErrorOf([&] { project_.DecryptFile(p.c_str(), p.c_str()); }), msg);
    EXPECT_FALSE(fs::exists(p));

    // An existing file is left as it was.
    Write(Path("f"), Bytes(10, 'z'));
    EXPECT_NE(ErrorOf([&] { project_.EncryptFile(Path("f").c_str(), Path("f").c_str()); }), "(no error)");
    EXPECT_EQ(Read(Path("f")), Bytes(10, 'z'));
}

TEST_F(CryptContainer, PathsDifferingInCaseAreDifferent) {
    Write(Path("data.txt"), Random(40, 9));
    EXPECT_EQ(ErrorOf([&] { project_.EncryptFile(Path("data.txt").c_str(), Path("DATA.txt").c_str()); }),
              "(no error)");
    EXPECT_EQ(fs::file_size(Path("DATA.txt")), 32u + 48u);
}

TEST_F(CryptContainer, UnopenableFiles) {
    const std::string missing = Path("missing");
    const std::string badOut = Path("no-dir/out");
    Write(Path("plain"), Random(20, 1));

    EXPECT_EQ(ErrorOf([&] { project_.EncryptFile(missing.c_str(), Path("out").c_str()); }),
              "FileCrypt ERROR: Cannot open File " + missing + "!");
    EXPECT_EQ(ErrorOf([&] { project_.DecryptFile(missing.c_str(), Path("out").c_str()); }),
              "FileCrypt ERROR: Cannot open File " + missing + "!");
    EXPECT_FALSE(fs::exists(Path("out")));  // input is opened first

    EXPECT_EQ(ErrorOf([&] { project_.EncryptFile(Path("plain").c_str(), badOut.c_str()); }),
              "FileCrypt ERROR: Cannot open File " + badOut + "!");
    EXPECT_EQ(ErrorOf([&] { project_.DecryptFile(Path("plain").c_str(), badOut.c_str()); }),
              "FileCrypt ERROR: Cannot open File " + badOut + "!");
}

TEST_F(CryptContainer, UninitialisedObjectTouchesNoFile) {
    CRijndaelFileCrypt c;
    Write(Path("plain"), Random(20, 1));
    const std::string msg = "FileCrypt ERROR: Encryption/Decryption Object not Initialized!";
    EXPECT_EQ(ErrorOf([&] { c.EncryptFile(Path("plain").c_str(), Path("out").c_str()); }), msg);
    EXPECT_EQ(ErrorOf([&] { c.DecryptFile(Path("plain").c_str(), Path("out").c_str()); }), msg);
    // Checked before the same-path test.
    EXPECT_EQ(ErrorOf([&] { c.EncryptFile(Path("plain").c_str(), Path("plain").c_str()); }), msg);
    EXPECT_FALSE(fs::exists(Path("out")));
}
