// The engine's program file as this tool may change it: a 64-bit Windows
// program (PE32+, x86-64) as our MinGW build links it, whose resource
// section can be replaced. Its layout is checked before anything is touched:
// a resource section that the resource directory names at its start; after
// it only sections no code refers to by address (the base relocations, the
// debugging information), then at most the symbol table; no certificate
// table, no debug directory and nothing appended. Any other file is refused
// with the reason: a tool that rewrote what it does not understand could
// ship a program that no longer starts.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace pe {

struct Section {
    std::string name;
    uint32_t virtualSize = 0, virtualAddress = 0, rawSize = 0, rawPointer = 0;
};

class Image {
public:
    // Checks `file` (the whole program) and keeps it; throws
    // std::runtime_error naming what makes it no file this tool can stamp.
    explicit Image(std::string file);

    // The resource section's bytes and its address in memory.
    std::string ResourceBytes() const;
    uint32_t ResourceRva() const { return sections_[resource_].virtualAddress; }

    // The program with `resources` (built for ResourceRva()) as its resource
    // section: the sections after it move up as far as it grew, the headers
    // say so, and the checksum is made anew. Everything else stays as it was.
    std::string WithResources(const std::string& resources) const;

private:
    void ReadHeaders();
    void CheckUnsigned() const;
    void CheckLayout();
    void CheckDirectories() const;
    uint32_t Directory(int index, uint32_t& size) const;
    size_t EndOfData() const;
    size_t FollowingData() const;

    std::string file_;
    size_t peOffset_ = 0, optional_ = 0, sectionTable_ = 0;
    uint32_t fileAlignment_ = 0, sectionAlignment_ = 0, directoryCount_ = 0;
    uint32_t symbolTable_ = 0, symbolCount_ = 0;
    std::vector<Section> sections_;
    size_t resource_ = 0;  // index of the resource section
};

// The checksum the loader checks for drivers: 16-bit sums with their carries
// folded in, over the file with its own checksum field (at `checksumOffset`)
// taken as zero, plus the file's length.
uint32_t Checksum(const std::string& file, size_t checksumOffset);

}  // namespace pe
