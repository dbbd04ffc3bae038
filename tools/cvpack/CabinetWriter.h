// Writes one cabinet from files on disk: an MSZIP folder, and a folder
// without compression for files compression would not shrink. The format
// code is the platform's: libgcab natively, cabinet.dll (FCI) on Windows.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

struct CabinetEntry {
    // File on disk, read while the cabinet is written: CabinetSourceText of its path.
    std::string sourcePath;
    std::string storedName;  // flat name inside the cabinet
};

// A source path as text and back. Windows keeps names in UTF-16, which only
// UTF-8 carries whole (the ANSI code page may lack a character of a payload
// file's name); elsewhere the text is the name's bytes as they are.
inline std::string CabinetSourceText(const std::filesystem::path& path) { return path.u8string(); }
inline std::filesystem::path CabinetSourcePath(const std::string& text) { return std::filesystem::u8path(text); }

// A cabinet folder counts its 32 KiB data blocks in 16 bits and the Windows
// writer seeks with signed 32-bit offsets, so the uncompressed total is kept
// well under 2 GiB, leaving room for the per-block overhead of MSZIP.
constexpr uint64_t kMaxCabinetPayload = 2000000000;

// Checks the entries against the format's limits (names, sizes, total).
// Throws std::runtime_error before anything is written.
void CheckCabinetEntries(const std::vector<CabinetEntry>& entries);

// Whether compressing a file would gain next to nothing: one of at least
// 64 KiB whose first mebibyte uses every byte value about evenly (packed,
// encrypted or media data). Such files are stored: the setup extracts them
// with a plain copy instead of inflating them block by block, several times
// faster, at a cost of about a thousandth of their size.
bool LooksIncompressible(const std::string& path);

// The entries to compress and the entries to store, each in the given order.
std::pair<std::vector<CabinetEntry>, std::vector<CabinetEntry>> SplitByCompression(
    const std::vector<CabinetEntry>& entries);

// Writes the cabinet (the MSZIP folder first, each folder's entries in the
// given order; a folder without entries is left out) to cabinetPath,
// streaming each file. Throws std::runtime_error with a message naming the
// file at fault; a partly written cabinet is left for the caller to remove.
void WriteCabinet(const std::string& cabinetPath, const std::vector<CabinetEntry>& entries);
