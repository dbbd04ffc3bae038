// The resource section of a Windows program as a flat list, and back: the
// three levels of its tree (type, name, language) read into one record per
// resource with its bytes, and a section built from such a list at a given
// address. What the list keeps is written back unchanged, byte for byte.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace pe {

// A type or name: a number, or a text (UTF-16) when `text` is not empty.
struct ResourceKey {
    uint16_t id = 0;
    std::u16string text;

    bool IsText() const { return !text.empty(); }
};

// The order of a directory: texts first, compared as the loader's search
// does (ASCII letters without case), then numbers ascending.
bool operator<(const ResourceKey& a, const ResourceKey& b);
bool operator==(const ResourceKey& a, const ResourceKey& b);

struct Resource {
    ResourceKey type;
    ResourceKey name;
    uint16_t language = 0;
    uint32_t codePage = 0;  // as the data entry gives it
    std::string data;
};

// Resource types this writer replaces.
constexpr uint16_t kIcon = 3;
constexpr uint16_t kGroupIcon = 14;
constexpr uint16_t kVersion = 16;

// The resources of `section` (the section's bytes; `sectionRva` its address
// in memory, from which the data entries' addresses count), in the
// section's order. Throws std::runtime_error when the tree is not three
// levels deep, points outside the section, or is larger than any engine's.
std::vector<Resource> ReadResources(const std::string& section, uint32_t sectionRva);

// The bytes of a resource section at `sectionRva` holding `resources`, in
// the order of their keys and languages.
std::string BuildResourceSection(std::vector<Resource> resources, uint32_t sectionRva);

// Whether a resource is one of type `type`, given by number.
inline bool IsType(const Resource& r, uint16_t type) { return !r.type.IsText() && r.type.id == type; }

}  // namespace pe
