#include "core/Crc32c.h"

#include <array>
#include <cstring>

namespace core {

namespace {

using Tables = std::array<std::array<uint32_t, 256>, 8>;

// Table k gives the sum of a byte followed by k zero bytes.
Tables MakeTables() {
    Tables t{};
    for (uint32_t i = 0; i < 256; ++i) {
        uint32_t c = i;
        for (int bit = 0; bit < 8; ++bit) c = (c & 1) ? (c >> 1) ^ 0x82F63B78u : c >> 1;
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

uint32_t UpdateByTables(uint32_t c, const unsigned char* data, size_t size) {
    const Tables& t = TheTables();
    while (size >= 8) {
        const uint32_t low = Le32(data) ^ c, high = Le32(data + 4);
        c = t[7][low & 0xFF] ^ t[6][(low >> 8) & 0xFF] ^ t[5][(low >> 16) & 0xFF] ^ t[4][low >> 24] ^
            t[3][high & 0xFF] ^ t[2][(high >> 8) & 0xFF] ^ t[1][(high >> 16) & 0xFF] ^ t[0][high >> 24];
        data += 8;
        size -= 8;
    }
    while (size--) c = (c >> 8) ^ t[0][(c ^ *data++) & 0xFF];
    return c;
}

#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
__attribute__((target("sse4.2"))) uint32_t UpdateByInstruction(uint32_t c, const unsigned char* data, size_t size) {
    uint64_t c64 = c;
    while (size >= 8) {
        uint64_t word;
        std::memcpy(&word, data, 8);  // x86 is little-endian, as the sum reads
        c64 = __builtin_ia32_crc32di(c64, word);
        data += 8;
        size -= 8;
    }
    c = static_cast<uint32_t>(c64);
    while (size--) c = __builtin_ia32_crc32qi(c, *data++);
    return c;
}

bool HasInstruction() {
    static const bool has = __builtin_cpu_supports("sse4.2");
    return has;
}
#else
uint32_t UpdateByInstruction(uint32_t c, const unsigned char* data, size_t size) { return UpdateByTables(c, data, size); }
bool HasInstruction() { return false; }
#endif

}  // namespace

void Crc32c::Update(const unsigned char* data, size_t size) {
    state_ = HasInstruction() ? UpdateByInstruction(state_, data, size) : UpdateByTables(state_, data, size);
}

// The tables, for a test that holds both ways to the same sums.
uint32_t Crc32cByTables(const unsigned char* data, size_t size) { return ~UpdateByTables(0xFFFFFFFFu, data, size); }

}  // namespace core
