// Rijndael lookup tables (FIPS-197 values), built at compile time from the
// field arithmetic so no hand-typed constant can be wrong.
#pragma once

#include <cstdint>

namespace rijndael {

struct Tables {
    uint8_t S[256];    // S-box
    uint8_t Si[256];   // inverse S-box
    // Forward round: SubBytes + MixColumns for each of the four rows,
    // as big-endian column words; Te1..Te3 are byte rotations of Te0.
    uint32_t Te0[256], Te1[256], Te2[256], Te3[256];
    // Inverse round (equivalent inverse cipher): InvSubBytes + InvMixColumns.
    uint32_t Td0[256], Td1[256], Td2[256], Td3[256];
    // InvMixColumns alone, for turning encryption round keys into decryption ones.
    uint32_t U0[256], U1[256], U2[256], U3[256];
    // Key-schedule round constants 01 02 04 ... c5 91.
    uint8_t Rcon[30];
};

extern const Tables kTables;

}  // namespace rijndael
