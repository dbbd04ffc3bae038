// CRC-32 (the polynomial of zip and PNG, reflected, 0xEDB88320) over a
// stream of bytes, eight bytes a step ("slicing by eight"): the integrity
// sum of a single-file setup's package block, read at the speed of the disk.
// It catches damage (a truncated download, a flipped bit), not tampering:
// that is the signature's job.
#pragma once

#include <cstddef>
#include <cstdint>

namespace core {

class Crc32 {
public:
    void Update(const unsigned char* data, size_t size);
    uint32_t Value() const { return ~state_; }

private:
    uint32_t state_ = 0xFFFFFFFFu;
};

}  // namespace core
