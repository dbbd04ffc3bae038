// Reads a binary stream through a caller-owned ring buffer, refilled half by
// half, handing the bytes out in fixed-size chunks: memory use is fixed
// whatever the size of the file.
#pragma once

#include <cstdint>
#include <istream>

class CDoubleBuffering {
public:
    // m_iSize must be even; defaultDataLength in 1..m_iSize/2. Throws otherwise.
    CDoubleBuffering(std::istream& in, char* buffer, int size, int defaultDataLength);

    // Copies the next chunk of iDataLen bytes (-1: the default length) and
    // returns how many were copied: fewer only for the last chunk, 0 at the end.
    int GetData(char* out, int iDataLen = -1);

private:
    // Reads the next half-ring from the stream at offset (0 or half the size).
    void FillHalf(int offset);
    // Unread bytes in the ring.
    int Available() const;

    std::istream& m_rStream;
    int32_t m_iSize;
    int32_t m_iHalfSize;
    int32_t m_iDataLength;
    int32_t m_iPosition;
    int32_t m_iEnd;
    int32_t m_bUpperHalf;
    char* m_pcBuffer;
    bool m_bEOF;
};
