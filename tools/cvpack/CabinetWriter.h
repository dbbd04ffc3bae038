// Writes one MSZIP cabinet from files on disk. The format code is the
// platform's: libgcab natively, cabinet.dll (FCI) on Windows.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct CabinetEntry {
    std::string sourcePath;  // file on disk, read while the cabinet is written
    std::string storedName;  // flat name inside the cabinet
};

// A cabinet folder counts its 32 KiB data blocks in 16 bits and the Windows
// writer seeks with signed 32-bit offsets, so the uncompressed total is kept
// well under 2 GiB, leaving room for the per-block overhead of MSZIP.
constexpr uint64_t kMaxCabinetPayload = 2000000000;

// Checks the entries against the format's limits (names, sizes, total).
// Throws std::runtime_error before anything is written.
void CheckCabinetEntries(const std::vector<CabinetEntry>& entries);

// Writes the cabinet (entries in order, one MSZIP folder) to cabinetPath,
// streaming each file. Throws std::runtime_error with a message naming the
// file at fault; a partly written cabinet is left for the caller to remove.
void WriteCabinet(const std::string& cabinetPath, const std::vector<CabinetEntry>& entries);
