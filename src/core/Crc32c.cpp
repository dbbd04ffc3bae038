#include "core/Crc32c.h"

#include <array>
#include <cstring>
#include <vector>

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
// Three sums run side by side over three neighbouring pieces of kStride
// bytes: the instruction takes three cycles to give its result but can start
// one every cycle. The pieces' sums are joined with the linear operator that
// runs a sum over kStride zero bytes (its tables made once).
constexpr size_t kStride = 8192;

__attribute__((target("sse4.2"))) uint64_t RunWords(uint64_t c, const unsigned char* data, size_t words) {
    for (size_t i = 0; i < words; ++i) {
        uint64_t word;
        std::memcpy(&word, data + 8 * i, 8);  // x86 is little-endian, as the sum reads
        c = __builtin_ia32_crc32di(c, word);
    }
    return c;
}

using ShiftTables = std::array<std::array<uint32_t, 256>, 4>;

ShiftTables MakeShiftTables() {
    const std::vector<unsigned char> zeros(kStride, 0);
    uint32_t basis[32];
    for (int bit = 0; bit < 32; ++bit)
        basis[bit] = static_cast<uint32_t>(RunWords(uint32_t(1) << bit, zeros.data(), kStride / 8));
    ShiftTables t{};
    for (int k = 0; k < 4; ++k)
        for (uint32_t b = 0; b < 256; ++b)
            for (int bit = 0; bit < 8; ++bit)
                if (b & (1u << bit)) t[k][b] ^= basis[8 * k + bit];
    return t;
}

uint32_t Shift(uint32_t c) {
    static const ShiftTables t = MakeShiftTables();
    return t[0][c & 0xFF] ^ t[1][(c >> 8) & 0xFF] ^ t[2][(c >> 16) & 0xFF] ^ t[3][c >> 24];
}

__attribute__((target("sse4.2"))) uint32_t UpdateByInstruction(uint32_t c, const unsigned char* data, size_t size) {
    uint64_t c64 = c;
    while (size >= 3 * kStride) {
        uint64_t a = c64, b = 0, d = 0;
        for (size_t i = 0; i < kStride; i += 8) {
            uint64_t wa, wb, wd;
            std::memcpy(&wa, data + i, 8);
            std::memcpy(&wb, data + kStride + i, 8);
            std::memcpy(&wd, data + 2 * kStride + i, 8);
            a = __builtin_ia32_crc32di(a, wa);
            b = __builtin_ia32_crc32di(b, wb);
            d = __builtin_ia32_crc32di(d, wd);
        }
        c64 = Shift(Shift(static_cast<uint32_t>(a)) ^ static_cast<uint32_t>(b)) ^ static_cast<uint32_t>(d);
        data += 3 * kStride;
        size -= 3 * kStride;
    }
    c64 = RunWords(c64, data, size / 8);
    data += size / 8 * 8;
    size %= 8;
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
