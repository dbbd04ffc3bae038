#include "RijndaelTables.h"

namespace rijndael {
namespace {

constexpr uint8_t XTime(uint8_t a) {
    return static_cast<uint8_t>((a << 1) ^ ((a & 0x80) ? 0x1b : 0x00));
}

// Multiplication in GF(2^8) modulo x^8 + x^4 + x^3 + x + 1.
constexpr uint8_t Mul(uint8_t a, uint8_t b) {
    uint8_t r = 0;
    while (b) {
        if (b & 1) r ^= a;
        a = XTime(a);
        b >>= 1;
    }
    return r;
}

constexpr uint8_t Rotl8(uint8_t x, int n) {
    return static_cast<uint8_t>((x << n) | (x >> (8 - n)));
}

constexpr uint32_t Word(uint8_t b0, uint8_t b1, uint8_t b2, uint8_t b3) {
    return (uint32_t(b0) << 24) | (uint32_t(b1) << 16) | (uint32_t(b2) << 8) | b3;
}

constexpr uint32_t Rotr32(uint32_t w, int n) { return (w >> n) | (w << (32 - n)); }

constexpr void BuildSBoxes(Tables& t) {
    // Walk the multiplicative group with generator 3 to get inverses cheaply.
    uint8_t exp[255] = {};
    uint8_t log[256] = {};
    uint8_t x = 1;
    for (int i = 0; i < 255; ++i) {
        exp[i] = x;
        log[x] = static_cast<uint8_t>(i);
        x = static_cast<uint8_t>(x ^ XTime(x));
    }
    for (int a = 0; a < 256; ++a) {
        const uint8_t inv = a ? exp[(255 - log[a]) % 255] : 0;
        const uint8_t s = static_cast<uint8_t>(inv ^ Rotl8(inv, 1) ^ Rotl8(inv, 2) ^
                                               Rotl8(inv, 3) ^ Rotl8(inv, 4) ^ 0x63);
        t.S[a] = s;
        t.Si[s] = static_cast<uint8_t>(a);
    }
}

constexpr void BuildRoundTables(Tables& t) {
    for (int x = 0; x < 256; ++x) {
        const uint8_t s = t.S[x];
        const uint8_t si = t.Si[x];
        const uint8_t b = static_cast<uint8_t>(x);
        const uint32_t te = Word(Mul(s, 2), s, s, Mul(s, 3));
        const uint32_t td = Word(Mul(si, 14), Mul(si, 9), Mul(si, 13), Mul(si, 11));
        const uint32_t u = Word(Mul(b, 14), Mul(b, 9), Mul(b, 13), Mul(b, 11));
        t.Te0[x] = te, t.Te1[x] = Rotr32(te, 8), t.Te2[x] = Rotr32(te, 16), t.Te3[x] = Rotr32(te, 24);
        t.Td0[x] = td, t.Td1[x] = Rotr32(td, 8), t.Td2[x] = Rotr32(td, 16), t.Td3[x] = Rotr32(td, 24);
        t.U0[x] = u, t.U1[x] = Rotr32(u, 8), t.U2[x] = Rotr32(u, 16), t.U3[x] = Rotr32(u, 24);
    }
}

constexpr Tables Build() {
    Tables t{};
    BuildSBoxes(t);
    BuildRoundTables(t);
    uint8_t r = 1;
    for (uint8_t& c : t.Rcon) {
        c = r;
        r = XTime(r);
    }
    return t;
}

}  // namespace

// constexpr forces evaluation at compile time: the tables live in read-only
// data and are ready before any static constructor runs.
constexpr Tables kTables = Build();

}  // namespace rijndael
