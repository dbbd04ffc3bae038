// SHA-256 (FIPS 180-2).
#pragma once

#include <cstdint>

class CSHA {
public:
    enum { DIGEST_SIZE = 32, BLOCK_SIZE = 64 };

    CSHA();
    // Throws when length is below 1.
    void AddData(const unsigned char* data, int length);
    // Writes the 32 digest bytes big-endian and returns to the initial state.
    // Throws when no data was added since construction or the last digest.
    void FinalDigest(unsigned char* digest);

private:
    void Reset();
    void Compress(const unsigned char* block);

    uint32_t m_auiH[8];
    uint32_t m_auiCount[2];  // message length in bits: low, high
    unsigned char m_aucBuf[BLOCK_SIZE];
    bool m_bAddData;
};
