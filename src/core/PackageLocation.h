// Where a single file's package block and its entries lie in a program
// file read at offsets: the setup looks at its own file, a repair at the
// single file a product was installed from. Portable: the rules of
// core/PeImage.h and core/PackageBlock.h over a file the caller reads.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "core/PackageBlock.h"
#include "core/PeImage.h"

namespace core::packageblock {

// A file read at offsets.
class RandomSource {
public:
    virtual ~RandomSource() = default;
    virtual uint64_t Size() const = 0;
    // Reads exactly `size` bytes at `offset`; false when they cannot be read.
    virtual bool ReadAt(uint64_t offset, unsigned char* data, size_t size) = 0;
};

// What the file holds after its program image (FindBlock's answer), and the
// image's layout.
Found LocateBlock(RandomSource& file, pe::Layout& layout);

// The entry `path` (ASCII case ignored) of the block `trailer` describes,
// its offset in the file set; "" when it is there, else the problem (a
// table that does not read, or no such entry). Nothing of the block's sum
// is checked: the caller checks what it reads.
std::string FindEntry(RandomSource& file, const Trailer& trailer, unsigned codePage, const std::string& path,
                      Entry& entry);

}  // namespace core::packageblock
