#include "core/Crc32.h"

#include <array>

namespace core {

namespace {

using Tables = std::array<std::array<uint32_t, 256>, 8>;

// Table k gives the sum of a byte followed by k zero bytes.
Tables MakeTables() {
    Tables t{};
    for (uint32_t i = 0; i < 256; ++i) {
        uint32_t c = i;
        for (int bit = 0; bit < 8; ++bit) c = (c & 1) ? (c >> 1) ^ 0xEDB88320u : c >> 1;
        t[0][i] = c;
    }
    for (uint32_t i = 0; i < 256; ++i)
        for (size_t k = 1; k < 8; ++k) t[k][i] = (t[k - 1][i] >> 8) ^ t[0][t[k - 1][i] & 0xFF];
    return t;
}

const Tables& TheTables() {
    static const Tables tables = MakeTables();
    return tables;
}

// Bytes in little-endian order, whatever the machine's own.
uint32_t Le32(const unsigned char* p) {
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

}  // namespace

void Crc32::Update(const unsigned char* data, size_t size) {
    const Tables& t = TheTables();
    uint32_t c = state_;
    while (size >= 8) {
        const uint32_t low = Le32(data) ^ c, high = Le32(data + 4);
        c = t[7][low & 0xFF] ^ t[6][(low >> 8) & 0xFF] ^ t[5][(low >> 16) & 0xFF] ^ t[4][low >> 24] ^
            t[3][high & 0xFF] ^ t[2][(high >> 8) & 0xFF] ^ t[1][(high >> 16) & 0xFF] ^ t[0][high >> 24];
        data += 8;
        size -= 8;
    }
    while (size--) c = (c >> 8) ^ t[0][(c ^ *data++) & 0xFF];
    state_ = c;
}

}  // namespace core
