#include "core/PeImage.h"

#include <algorithm>

namespace core::pe {

namespace {

constexpr size_t kFileHeaderSize = 20;
constexpr size_t kSectionHeaderSize = 40;
constexpr uint64_t kSymbolSize = 18;
constexpr unsigned kCertificateDirectory = 4;

uint32_t Le(const unsigned char* p, size_t bytes) {
    uint32_t v = 0;
    for (size_t i = bytes; i-- > 0;) v = v << 8 | p[i];
    return v;
}

}  // namespace

std::string ReadLayout(const unsigned char* head, size_t size, uint64_t fileSize, Layout& layout) {
    layout = Layout();
    if (size < 64 || head[0] != 'M' || head[1] != 'Z') return "not a program file (no MZ header)";
    const uint64_t pe = Le(head + 0x3C, 4);
    if (pe + 4 + kFileHeaderSize > size || Le(head + pe, 4) != 0x00004550u) return "no PE header";
    const unsigned char* file = head + pe + 4;
    const uint64_t sections = Le(file + 2, 2);
    const uint64_t optionalSize = Le(file + 16, 2);
    const uint64_t optional = pe + 4 + kFileHeaderSize;
    if (optional + optionalSize + sections * kSectionHeaderSize > size) return "headers cut short";
    if (optionalSize < 2) return "no optional header";
    const uint32_t magic = Le(head + optional, 2);
    const uint64_t directories = magic == 0x20B ? 112 : magic == 0x10B ? 96 : 0;
    if (directories == 0 || optionalSize < directories) return "unknown optional header";
    layout.sectionsEnd = optionalSize >= 64 ? Le(head + optional + 60, 4) : 0;  // SizeOfHeaders
    const uint64_t directoryCount = Le(head + optional + directories - 4, 4);
    const uint64_t entry = optional + directories + kCertificateDirectory * 8;
    if (directoryCount > kCertificateDirectory && entry + 8 <= optional + optionalSize) {
        layout.certificatesEntryOffset = entry;
        layout.certificatesOffset = Le(head + entry, 4);
        layout.certificatesSize = Le(head + entry + 4, 4);
    }
    for (uint64_t i = 0; i < sections; ++i) {
        const unsigned char* s = head + optional + optionalSize + i * kSectionHeaderSize;
        const uint64_t rawSize = Le(s + 16, 4), rawOffset = Le(s + 20, 4);
        if (rawSize > 0) layout.sectionsEnd = std::max(layout.sectionsEnd, rawOffset + rawSize);
    }
    if (layout.sectionsEnd > fileSize) return "sections beyond the end of the file";
    const uint64_t symbols = Le(file + 8, 4), symbolCount = Le(file + 12, 4);
    if (symbols != 0) {
        layout.symbolsOffset = symbols;
        layout.symbolsSize = symbolCount * kSymbolSize;
        if (symbols < layout.sectionsEnd || StringTableOffset(layout) + 4 > fileSize)
            return "symbol table outside the file";
    }
    return std::string();
}

uint64_t StringTableOffset(const Layout& layout) {
    return layout.symbolsOffset == 0 ? 0 : layout.symbolsOffset + layout.symbolsSize;
}

uint64_t ImageEnd(const Layout& layout, uint32_t stringTableSize) {
    if (layout.symbolsOffset == 0) return layout.sectionsEnd;
    // The size counts its own 4 bytes; a table of nothing may say 0.
    return StringTableOffset(layout) + std::max<uint32_t>(stringTableSize, 4);
}

}  // namespace core::pe
