// The few facts of a Windows program file (PE) that a single-file setup
// needs: where the program's image ends in the file, so that what follows
// (the package block) can be found, and where its certificate table (an
// Authenticode signature, appended at the file's end) begins. Read from the
// file's first bytes, every offset checked against them. Portable.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace core::pe {

// The headers are looked for in this many bytes at the file's start.
constexpr size_t kHeadBytes = 65536;

struct Layout {
    // The end of the headers and of the sections' raw data, the furthest one.
    uint64_t sectionsEnd = 0;
    // The COFF symbol table a linker may leave after the sections (0: none)
    // and its size without the string table that follows it.
    uint64_t symbolsOffset = 0;
    uint64_t symbolsSize = 0;
    // The certificate table (data directory 4; its "address" is a file
    // offset), 0 and 0 when the file is not signed.
    uint32_t certificatesOffset = 0;
    uint32_t certificatesSize = 0;
    // Where that directory entry lies in the file (8 bytes).
    uint64_t certificatesEntryOffset = 0;
};

// Reads the headers from `head`, the file's first `size` bytes, of a file of
// `fileSize` bytes. "" when they are whole and consistent, else the problem.
std::string ReadLayout(const unsigned char* head, size_t size, uint64_t fileSize, Layout& layout);

// Where the string table of the symbol table starts (its first 4 bytes give
// its size); 0 when there is no symbol table.
uint64_t StringTableOffset(const Layout& layout);

// Where the program's image ends: after its sections, or after its symbol
// and string tables when the linker left them there (stringTableSize: the
// 4 bytes read at StringTableOffset, 0 without a symbol table).
uint64_t ImageEnd(const Layout& layout, uint32_t stringTableSize);

}  // namespace core::pe
