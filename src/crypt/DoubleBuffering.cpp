#include "DoubleBuffering.h"

#include <cstring>
#include <fstream>
#include <stdexcept>

// Ring layout: m_iPosition is the next byte to hand out and m_iEnd is just
// past the newest byte read. While the lower half holds the newest data the
// unread bytes may wrap (position in the upper half, end in the lower one);
// while the upper half holds it they never do, and position may sit at
// m_iSize when everything has been handed out.

namespace {

bool StreamUsable(std::istream& in) {
    // A file stream that failed to open only has its fail bit set; only the
    // bad bit and a closed file make the stream unusable here.
    const std::ifstream* file = dynamic_cast<const std::ifstream*>(&in);
    if (file && !file->is_open()) return false;
    return in.rdbuf() != nullptr && !in.bad();
}

}  // namespace

CDoubleBuffering::CDoubleBuffering(std::istream& in, char* buffer, int size, int defaultDataLength)
    : m_rStream(in),
      m_iSize(size),
      m_iHalfSize(size / 2),
      m_iDataLength(defaultDataLength),
      m_iPosition(0),
      m_iEnd(0),
      m_bUpperHalf(0),
      m_pcBuffer(buffer),
      m_bEOF(false) {
    if (size % 2 != 0) throw std::runtime_error("CDoubleBuffering: m_iSize should be Even Number!");
    if (!StreamUsable(in))
        throw std::runtime_error("CDoubleBuffering: Referenced File not Opened or in Bad State!");
    if (defaultDataLength < 1 || defaultDataLength > m_iHalfSize)
        throw std::runtime_error("CDoubleBuffering: Illegal Construction Data!");
    FillHalf(0);
}

void CDoubleBuffering::FillHalf(int offset) {
    m_rStream.read(m_pcBuffer + offset, m_iHalfSize);
    m_iEnd = offset + static_cast<int32_t>(m_rStream.gcount());
    m_bUpperHalf = offset != 0;
}

int CDoubleBuffering::Available() const {
    if (!m_bUpperHalf && m_iPosition > m_iEnd) return m_iSize - m_iPosition + m_iEnd;  // wrapped
    return m_iEnd - m_iPosition;
}

int CDoubleBuffering::GetData(char* out, int iDataLen) {
    if (iDataLen == -1) iDataLen = m_iDataLength;
    if (iDataLen < 1 || iDataLen > m_iHalfSize)
        throw std::runtime_error("CDoubleBuffering::GetData(): Illegal iDataLen!");
    if (m_bEOF) return 0;

    // A request is at most half the ring, so when it cannot be met the half
    // not holding unread bytes is free for the next read.
    if (Available() < iDataLen && m_rStream.good()) FillHalf(m_bUpperHalf ? 0 : m_iHalfSize);

    const int avail = Available();
    const int n = avail < iDataLen ? avail : iDataLen;
    const int first = n < m_iSize - m_iPosition ? n : m_iSize - m_iPosition;
    std::memcpy(out, m_pcBuffer + m_iPosition, first);
    std::memcpy(out + first, m_pcBuffer, n - first);  // across the seam at m_iSize
    m_iPosition += n;
    if (!m_bUpperHalf && m_iPosition >= m_iSize) m_iPosition -= m_iSize;

    if (n < iDataLen) m_bEOF = true;  // the stream could not supply the whole request
    return n;
}
