// CRC-32C (the Castagnoli polynomial, reflected, 0x82F63B78) over a stream of
// bytes: the integrity sum of a single-file setup's package block, which the
// setup computes over every byte it unpacks before it runs anything. The
// processor's own instruction computes it where there is one (SSE 4.2, every
// x86-64 processor of the last fifteen years), three runs side by side; elsewhere
// tables do, eight bytes a step ("slicing by eight"). It catches damage (a
// truncated download, a flipped bit), not tampering: that is the signature's job.
#pragma once

#include <cstddef>
#include <cstdint>

namespace core {

class Crc32c {
public:
    void Update(const unsigned char* data, size_t size);
    uint32_t Value() const { return ~state_; }

private:
    uint32_t state_ = 0xFFFFFFFFu;
};

// The same sum by the tables alone, whatever the processor (for the tests
// that hold both ways to the same sums).
uint32_t Crc32cByTables(const unsigned char* data, size_t size);

}  // namespace core
