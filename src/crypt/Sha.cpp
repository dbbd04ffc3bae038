#include "Sha.h"

#include "crypt/ByteOrder.h"

#include <cstring>
#include <stdexcept>

namespace {

const uint32_t kK[64] = {
    0x428a2f98, 0x71374491, 0xb5c0fbcf, 0xe9b5dba5, 0x3956c25b, 0x59f111f1, 0x923f82a4, 0xab1c5ed5,
    0xd807aa98, 0x12835b01, 0x243185be, 0x550c7dc3, 0x72be5d74, 0x80deb1fe, 0x9bdc06a7, 0xc19bf174,
    0xe49b69c1, 0xefbe4786, 0x0fc19dc6, 0x240ca1cc, 0x2de92c6f, 0x4a7484aa, 0x5cb0a9dc, 0x76f988da,
    0x983e5152, 0xa831c66d, 0xb00327c8, 0xbf597fc7, 0xc6e00bf3, 0xd5a79147, 0x06ca6351, 0x14292967,
    0x27b70a85, 0x2e1b2138, 0x4d2c6dfc, 0x53380d13, 0x650a7354, 0x766a0abb, 0x81c2c92e, 0x92722c85,
    0xa2bfe8a1, 0xa81a664b, 0xc24b8b70, 0xc76c51a3, 0xd192e819, 0xd6990624, 0xf40e3585, 0x106aa070,
    0x19a4c116, 0x1e376c08, 0x2748774c, 0x34b0bcb5, 0x391c0cb3, 0x4ed8aa4a, 0x5b9cca4f, 0x682e6ff3,
    0x748f82ee, 0x78a5636f, 0x84c87814, 0x8cc70208, 0x90befffa, 0xa4506ceb, 0xbef9a3f7, 0xc67178f2};

const uint32_t kInitialHash[8] = {0x6a09e667, 0xbb67ae85, 0x3c6ef372, 0xa54ff53a,
                                  0x510e527f, 0x9b05688c, 0x1f83d9ab, 0x5be0cd19};

inline uint32_t Rotr(uint32_t x, int n) { return (x >> n) | (x << (32 - n)); }

}  // namespace

CSHA::CSHA() { Reset(); }

void CSHA::Reset() {
    std::memcpy(m_auiH, kInitialHash, sizeof(m_auiH));
    m_auiCount[0] = m_auiCount[1] = 0;
    std::memset(m_aucBuf, 0, sizeof(m_aucBuf));
    m_bAddData = false;
}

void CSHA::AddData(const unsigned char* data, int length) {
    if (length < 1) throw std::runtime_error("FileCrypt ERROR: in CSHA::AddData(), Data Length should be > 0!");
    m_bAddData = true;

    size_t used = (m_auiCount[0] >> 3) & (BLOCK_SIZE - 1);
    const uint64_t bits = (uint64_t(m_auiCount[1]) << 32 | m_auiCount[0]) + uint64_t(length) * 8;
    m_auiCount[0] = static_cast<uint32_t>(bits);
    m_auiCount[1] = static_cast<uint32_t>(bits >> 32);

    size_t left = static_cast<size_t>(length);
    if (used) {  // complete the pending block first
        const size_t take = left < BLOCK_SIZE - used ? left : BLOCK_SIZE - used;
        std::memcpy(m_aucBuf + used, data, take);
        data += take, left -= take, used += take;
        if (used < BLOCK_SIZE) return;
        Compress(m_aucBuf);
    }
    for (; left >= BLOCK_SIZE; data += BLOCK_SIZE, left -= BLOCK_SIZE) Compress(data);
    if (left) std::memcpy(m_aucBuf, data, left);
}

void CSHA::FinalDigest(unsigned char* digest) {
    if (!m_bAddData)
        throw std::runtime_error("FileCrypt ERROR: in CSHA::FinalDigest(), No data Added before call!");

    // 0x80, zeros up to 56 mod 64, then the bit length as 64 bits big-endian.
    unsigned char length[8];
    StoreBE(m_auiCount[1], length);
    StoreBE(m_auiCount[0], length + 4);
    const size_t used = (m_auiCount[0] >> 3) & (BLOCK_SIZE - 1);
    m_aucBuf[used] = 0x80;
    if (used >= 56) {
        std::memset(m_aucBuf + used + 1, 0, BLOCK_SIZE - used - 1);
        Compress(m_aucBuf);
        std::memset(m_aucBuf, 0, 56);
    } else {
        std::memset(m_aucBuf + used + 1, 0, 56 - used - 1);
    }
    std::memcpy(m_aucBuf + 56, length, 8);
    Compress(m_aucBuf);

    for (int i = 0; i < 8; ++i) StoreBE(m_auiH[i], digest + 4 * i);
    Reset();
}

void CSHA::Compress(const unsigned char* block) {
    uint32_t w[64];
    for (int i = 0; i < 16; ++i) w[i] = LoadBE(block + 4 * i);
    for (int i = 16; i < 64; ++i) {
        const uint32_t s0 = Rotr(w[i - 15], 7) ^ Rotr(w[i - 15], 18) ^ (w[i - 15] >> 3);
        const uint32_t s1 = Rotr(w[i - 2], 17) ^ Rotr(w[i - 2], 19) ^ (w[i - 2] >> 10);
        w[i] = w[i - 16] + s0 + w[i - 7] + s1;
    }

    uint32_t a = m_auiH[0], b = m_auiH[1], c = m_auiH[2], d = m_auiH[3];
    uint32_t e = m_auiH[4], f = m_auiH[5], g = m_auiH[6], h = m_auiH[7];
    for (int i = 0; i < 64; ++i) {
        const uint32_t t1 = h + (Rotr(e, 6) ^ Rotr(e, 11) ^ Rotr(e, 25)) + ((e & f) ^ (~e & g)) +
                            kK[i] + w[i];
        const uint32_t t2 = (Rotr(a, 2) ^ Rotr(a, 13) ^ Rotr(a, 22)) + ((a & b) ^ (a & c) ^ (b & c));
        h = g, g = f, f = e, e = d + t1;
        d = c, c = b, b = a, a = t1 + t2;
    }
    m_auiH[0] += a, m_auiH[1] += b, m_auiH[2] += c, m_auiH[3] += d;
    m_auiH[4] += e, m_auiH[5] += f, m_auiH[6] += g, m_auiH[7] += h;
}
