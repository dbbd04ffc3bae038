#include "CabinetWriter.h"

#include <cmath>
#include <filesystem>
#include <fstream>
#include <stdexcept>

namespace {

// Stored names are at most 255 bytes (a 256-byte buffer with its terminator).
constexpr size_t kMaxStoredName = 255;

uint64_t CheckedFileSize(const CabinetEntry& entry) {
    std::error_code ec;
    if (!std::filesystem::is_regular_file(CabinetSourcePath(entry.sourcePath), ec))
        throw std::runtime_error(entry.sourcePath + ": not a readable file");
    uint64_t size = std::filesystem::file_size(CabinetSourcePath(entry.sourcePath), ec);
    if (ec) throw std::runtime_error(entry.sourcePath + ": " + ec.message());
    if (size > kMaxCabinetPayload)
        throw std::runtime_error(entry.sourcePath + ": " + std::to_string(size) +
                                 " bytes is too large for a cabinet (at most " +
                                 std::to_string(kMaxCabinetPayload) + ")");
    return size;
}

constexpr uint64_t kSmallestStored = 64 * 1024;
constexpr size_t kSampledBytes = 1024 * 1024;
// Bits per byte above which MSZIP saves less than about a hundredth.
constexpr double kIncompressibleEntropy = 7.95;

// The order-0 entropy of the bytes, in bits per byte.
double BitsPerByte(const std::vector<unsigned char>& bytes, size_t count) {
    uint64_t histogram[256] = {};
    for (size_t i = 0; i < count; ++i) ++histogram[bytes[i]];
    double bits = 0;
    for (uint64_t n : histogram) {
        if (n == 0) continue;
        const double p = static_cast<double>(n) / static_cast<double>(count);
        bits -= p * std::log2(p);
    }
    return bits;
}

}  // namespace

bool LooksIncompressible(const std::string& path) {
    std::error_code ec;
    const uint64_t size = std::filesystem::file_size(CabinetSourcePath(path), ec);
    if (ec || size < kSmallestStored) return false;
    std::ifstream in(CabinetSourcePath(path), std::ios::binary);
    std::vector<unsigned char> sample(kSampledBytes);
    in.read(reinterpret_cast<char*>(sample.data()), static_cast<std::streamsize>(sample.size()));
    const size_t got = static_cast<size_t>(in.gcount());
    return got >= kSmallestStored && BitsPerByte(sample, got) > kIncompressibleEntropy;
}

std::pair<std::vector<CabinetEntry>, std::vector<CabinetEntry>> SplitByCompression(
    const std::vector<CabinetEntry>& entries) {
    std::pair<std::vector<CabinetEntry>, std::vector<CabinetEntry>> split;
    for (const CabinetEntry& entry : entries)
        (LooksIncompressible(entry.sourcePath) ? split.second : split.first).push_back(entry);
    return split;
}

void CheckCabinetEntries(const std::vector<CabinetEntry>& entries) {
    uint64_t total = 0;
    for (const CabinetEntry& entry : entries) {
        if (entry.storedName.empty() || entry.storedName.size() > kMaxStoredName)
            throw std::runtime_error(entry.sourcePath + ": stored name \"" + entry.storedName +
                                     "\" must be 1 to 255 bytes long");
        total += CheckedFileSize(entry);
    }
    if (total > kMaxCabinetPayload)
        throw std::runtime_error("the payload totals " + std::to_string(total) +
                                 " bytes, more than one cabinet holds (at most " +
                                 std::to_string(kMaxCabinetPayload) + ")");
}
