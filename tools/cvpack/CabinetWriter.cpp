#include "CabinetWriter.h"

#include <filesystem>
#include <stdexcept>

namespace {

// Stored names are at most 255 bytes (a 256-byte buffer with its terminator).
constexpr size_t kMaxStoredName = 255;

uint64_t CheckedFileSize(const CabinetEntry& entry) {
    std::error_code ec;
    if (!std::filesystem::is_regular_file(entry.sourcePath, ec))
        throw std::runtime_error(entry.sourcePath + ": not a readable file");
    uint64_t size = std::filesystem::file_size(entry.sourcePath, ec);
    if (ec) throw std::runtime_error(entry.sourcePath + ": " + ec.message());
    if (size > kMaxCabinetPayload)
        throw std::runtime_error(entry.sourcePath + ": " + std::to_string(size) +
                                 " bytes is too large for a cabinet (at most " +
                                 std::to_string(kMaxCabinetPayload) + ")");
    return size;
}

}  // namespace

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
