#include "core/PackageLocation.h"

#include <algorithm>
#include <vector>

#include "util/Text.h"

namespace core::packageblock {

namespace {

constexpr char kUnreadable[] = "the file cannot be read";

Found Damaged(const std::string& problem) {
    Found found;
    found.kind = Found::kDamaged;
    found.problem = problem;
    return found;
}

uint32_t Le32(const unsigned char* p) {
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

// Where the program's image ends in the file; 0 (with `problem`) when that
// cannot be told.
uint64_t ImageEndOf(RandomSource& file, pe::Layout& layout, std::string& problem) {
    std::vector<unsigned char> head(static_cast<size_t>(std::min<uint64_t>(file.Size(), pe::kHeadBytes)));
    if (!file.ReadAt(0, head.data(), head.size())) {
        problem = kUnreadable;
        return 0;
    }
    problem = pe::ReadLayout(head.data(), head.size(), file.Size(), layout);
    if (!problem.empty()) return 0;
    uint32_t strings = 0;
    if (const uint64_t at = pe::StringTableOffset(layout)) {
        unsigned char size[4];
        if (!file.ReadAt(at, size, sizeof size)) {
            problem = kUnreadable;
            return 0;
        }
        strings = Le32(size);
    }
    return pe::ImageEnd(layout, strings);
}

}  // namespace

Found LocateBlock(RandomSource& file, pe::Layout& layout) {
    std::string problem;
    const uint64_t imageEnd = ImageEndOf(file, layout, problem);
    if (imageEnd == 0) return Damaged(problem);
    const uint64_t size = file.Size();
    const uint64_t dataEnd = layout.certificatesOffset != 0 ? layout.certificatesOffset : size;
    if (imageEnd > size || dataEnd > size) return Damaged("the file is cut short");
    const size_t tailSize = dataEnd > imageEnd
        ? static_cast<size_t>(std::min<uint64_t>(dataEnd - imageEnd, kTrailerSize + kMaxTrailerPadding))
        : 0;
    unsigned char tail[kTrailerSize + kMaxTrailerPadding] = {};
    if (!file.ReadAt(dataEnd - tailSize, tail, tailSize)) return Damaged(kUnreadable);
    return FindBlock(tail, tailSize, dataEnd, imageEnd);
}

std::string FindEntry(RandomSource& file, const Trailer& trailer, unsigned codePage, const std::string& path,
                      Entry& entry) {
    std::vector<unsigned char> table(static_cast<size_t>(trailer.tableLength));
    if (!file.ReadAt(trailer.blockOffset, table.data(), table.size())) return kUnreadable;
    std::vector<Entry> entries;
    const std::string problem = ParseTable(table.data(), table.size(), trailer, codePage, entries);
    if (!problem.empty()) return problem;
    for (const Entry& e : entries) {
        if (!util::text::EqualsIgnoringAsciiCase(e.path, path)) continue;
        entry = e;
        return std::string();
    }
    return "no " + path + " in the package";
}

}  // namespace core::packageblock
