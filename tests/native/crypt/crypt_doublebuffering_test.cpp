// CDoubleBuffering: chunks handed out must reproduce the stream exactly, in
// particular where requests cross the middle and the end of the ring.
#include "CryptTestSupport.h"
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "crypt/DoubleBuffering.h"

namespace {

std::string Pattern(size_t n, unsigned seed = 1) {
    std::mt19937 rng(seed);
    std::string s(n, '\0');
    for (auto& c : s) c = static_cast<char>(rng());
    return s;
}

// Reads the whole stream in chunks of len and checks each chunk: full length
// until the last, which is shorter (possibly empty), then 0 for good.
void CheckChunks(const std::string& source, int ringSize, int len) {
    std::istringstream in(source);
    std::vector<char> ring(ringSize, '\x5c');
    CDoubleBuffering reader(in, ring.data(), ringSize, len);
    std::string got;
    std::vector<char> chunk(len + 8);
    for (;;) {
        const int n = reader.GetData(chunk.data());
        ASSERT_LE(n, len);
        got.append(chunk.data(), n);
        if (n < len) break;
    }
    ASSERT_EQ(got.size(), source.size()) << "len " << len;
    ASSERT_TRUE(got == source) << "size " << source.size() << " len " << len;
    ASSERT_EQ(reader.GetData(chunk.data()), 0);
    ASSERT_EQ(reader.GetData(chunk.data(), 1), 0);
}

}  // namespace

TEST(CryptDoubleBuffering, ThousandBytesInChunksOf384) {
    const std::string source = Pattern(1000);
    std::istringstream in(source);
    char ring[1024];
    CDoubleBuffering reader(in, ring, 1024, 384);
    char out[384];
    EXPECT_EQ(reader.GetData(out), 384);
    EXPECT_EQ(std::string(out, 384), source.substr(0, 384));
    EXPECT_EQ(reader.GetData(out, -1), 384);
    EXPECT_EQ(std::string(out, 384), source.substr(384, 384));
    EXPECT_EQ(reader.GetData(out), 232);
    EXPECT_EQ(std::string(out, 232), source.substr(768));
    EXPECT_EQ(reader.GetData(out), 0);
    EXPECT_EQ(reader.GetData(out), 0);
}

TEST(CryptDoubleBuffering, EveryStreamLengthWithSeveralChunkLengths) {
    // 384 and 512 are the file chunk and the half ring; the others do not
    // divide the half, so requests straddle the middle and the end of the ring.
    const std::string source = Pattern(3000, 7);
    for (int len : {384, 512, 1, 100, 333, 511})
        for (size_t size = 0; size <= source.size(); ++size) {
            CheckChunks(source.substr(0, size), 1024, len);
            if (HasFatalFailure()) return;
        }
}

TEST(CryptDoubleBuffering, SmallRings) {
    const std::string source = Pattern(300, 9);
    for (int ring : {2, 6, 10, 16})
        for (int len = 1; len <= ring / 2; ++len)
            for (size_t size = 0; size <= source.size(); ++size) {
                CheckChunks(source.substr(0, size), ring, len);
                if (HasFatalFailure()) return;
            }
}

TEST(CryptDoubleBuffering, VaryingRequestLengths) {
    std::mt19937 rng(3);
    for (int round = 0; round < 200; ++round) {
        const std::string source = Pattern(rng() % 4000, round);
        std::istringstream in(source);
        char ring[1024];
        CDoubleBuffering reader(in, ring, 1024, 200);
        std::string got;
        char out[512];
        for (;;) {
            const int len = rng() % 4 == 0 ? -1 : 1 + static_cast<int>(rng() % 512);
            const int want = len == -1 ? 200 : len;
            const int n = reader.GetData(out, len);
            const size_t left = source.size() - got.size();
            ASSERT_EQ(static_cast<size_t>(n), left < size_t(want) ? left : size_t(want));
            got.append(out, n);
            if (n < want) break;
        }
        ASSERT_TRUE(got == source) << round;
        ASSERT_EQ(reader.GetData(out), 0);
    }
}

TEST(CryptDoubleBuffering, SeamLengthsFromARealFile) {
    const auto path = std::filesystem::temp_directory_path() / "cv_crypt_db_seams.bin";
    for (size_t size : {384u, 512u, 768u, 1024u, 1152u, 1536u, 2048u, 4096u}) {
        const std::string source = Pattern(size, static_cast<unsigned>(size));
        {
            std::ofstream f(path, std::ios::binary);
            f.write(source.data(), source.size());
        }
        std::ifstream in(path, std::ios::binary);
        char ring[1024], out[384];
        CDoubleBuffering reader(in, ring, 1024, 384);
        std::string got;
        int n;
        while ((n = reader.GetData(out)) > 0) got.append(out, n);
        EXPECT_TRUE(got == source) << size;
    }
    std::filesystem::remove(path);
}

TEST(CryptDoubleBuffering, StartsAtTheStreamsCurrentPosition) {
    const std::string source = Pattern(100);
    std::istringstream in(source);
    in.seekg(32);
    char ring[64], out[32];
    CDoubleBuffering reader(in, ring, 64, 32);
    std::string got;
    int n;
    while ((n = reader.GetData(out)) > 0) got.append(out, n);
    EXPECT_EQ(got, source.substr(32));
}

TEST(CryptDoubleBuffering, ConstructionChecksInOrder) {
    char ring[1024];
    std::istringstream good("data");
    std::istringstream bad("data");
    bad.setstate(std::ios::badbit);
    std::ifstream closed;

    EXPECT_EQ(ErrorOf([&] { CDoubleBuffering(bad, ring, 1023, 0); }),
              "CDoubleBuffering: m_iSize should be Even Number!");
    EXPECT_EQ(ErrorOf([&] { CDoubleBuffering(bad, ring, 1024, 0); }),
              "CDoubleBuffering: Referenced File not Opened or in Bad State!");
    EXPECT_EQ(ErrorOf([&] { CDoubleBuffering(closed, ring, 1024, 384); }),
              "CDoubleBuffering: Referenced File not Opened or in Bad State!");
    for (int bad_len : {0, -1, 513, 1024})
        EXPECT_EQ(ErrorOf([&] { CDoubleBuffering(good, ring, 1024, bad_len); }),
                  "CDoubleBuffering: Illegal Construction Data!")
            << bad_len;
    EXPECT_EQ(ErrorOf([&] { CDoubleBuffering(good, ring, 1024, 512); }), "(no error)");
}

TEST(CryptDoubleBuffering, EndAndFailBitsAreNotErrors) {
    char ring[16], out[8];
    std::istringstream atEnd("");
    char c;
    atEnd.get(c);  // sets eof and fail
    ASSERT_TRUE(atEnd.eof() && atEnd.fail());
    CDoubleBuffering reader(atEnd, ring, 16, 8);
    EXPECT_EQ(reader.GetData(out), 0);
}

TEST(CryptDoubleBuffering, IllegalRequestLength) {
    std::istringstream in(Pattern(100));
    char ring[64], out[64];
    CDoubleBuffering reader(in, ring, 64, 16);
    for (int bad : {0, -2, 33, 64})
        EXPECT_EQ(ErrorOf([&] { reader.GetData(out, bad); }),
                  "CDoubleBuffering::GetData(): Illegal iDataLen!")
            << bad;
    // The refused requests consumed nothing.
    EXPECT_EQ(reader.GetData(out, 32), 32);
}
