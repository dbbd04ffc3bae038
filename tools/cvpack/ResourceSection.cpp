#include "ResourceSection.h"

#include <algorithm>
#include <map>
#include <stdexcept>

#include "LittleEndian.h"

namespace pe {

namespace {

constexpr uint32_t kHighBit = 0x80000000u;
constexpr size_t kDirectoryHeader = 16;
constexpr size_t kDirectoryEntry = 8;
constexpr size_t kDataEntry = 16;
// More than any engine carries; a tree that names its directories again and
// again could otherwise make the list grow without end.
constexpr size_t kMostResources = 20000;

[[noreturn]] void Bad(const std::string& why) { throw std::runtime_error("resource section: " + why); }

char16_t Upper(char16_t c) { return c >= u'a' && c <= u'z' ? static_cast<char16_t>(c - 32) : c; }

class Reader {
public:
    Reader(const std::string& section, uint32_t rva) : section_(section), rva_(rva) {}

    std::vector<Resource> Run() {
        Directory(0, 0, Resource());
        return std::move(resources_);
    }

private:
    // One directory of level `level` (0 types, 1 names, 2 languages).
    void Directory(uint32_t offset, int level, Resource path) {
        if (!le::Fits(section_, offset, kDirectoryHeader)) Bad("a directory lies outside the section");
        if (++entriesSeen_ > 4 * kMostResources) Bad("more resources than an engine carries");
        const size_t count = size_t(le::U16(section_, offset + 12)) + le::U16(section_, offset + 14);
        for (size_t i = 0; i < count; ++i) {
            const size_t entry = offset + kDirectoryHeader + i * kDirectoryEntry;
            if (++entriesSeen_ > 4 * kMostResources) Bad("more resources than an engine carries");
            const uint32_t name = le::U32(section_, entry);
            const uint32_t target = le::U32(section_, entry + 4);
            const bool isDirectory = (target & kHighBit) != 0;
            ResourceKey key = Key(name);
            if (level == 0) path.type = key;
            if (level == 1) path.name = key;
            if (level == 2) {
                if (key.IsText()) Bad("a language given by name");
                path.language = key.id;
            }
            if (isDirectory != (level < 2)) Bad("the tree is not three levels deep");
            if (isDirectory) Directory(target & ~kHighBit, level + 1, path);
            else Data(target, path);
        }
    }

    ResourceKey Key(uint32_t name) const {
        ResourceKey key;
        if (!(name & kHighBit)) {
            if (name > 0xFFFF) Bad("a number beyond 65535");
            key.id = static_cast<uint16_t>(name);
            return key;
        }
        const size_t at = name & ~kHighBit;
        const size_t length = le::U16(section_, at);
        if (length == 0 || !le::Fits(section_, at + 2, length * 2)) Bad("a name lies outside the section");
        for (size_t i = 0; i < length; ++i) key.text += static_cast<char16_t>(le::U16(section_, at + 2 + 2 * i));
        return key;
    }

    void Data(uint32_t offset, Resource resource) {
        if (!le::Fits(section_, offset, kDataEntry)) Bad("a data entry lies outside the section");
        const uint32_t rva = le::U32(section_, offset);
        const uint32_t size = le::U32(section_, offset + 4);
        if (rva < rva_ || !le::Fits(section_, rva - rva_, size)) Bad("resource data lies outside the section");
        if (resources_.size() == kMostResources) Bad("more resources than an engine carries");
        resource.codePage = le::U32(section_, offset + 8);
        resource.data = section_.substr(rva - rva_, size);
        resources_.push_back(std::move(resource));
    }

    const std::string& section_;
    uint32_t rva_;
    std::vector<Resource> resources_;
    size_t entriesSeen_ = 0;  // directories and their entries, however often named
};

// The section is written in four parts: every directory, the data entries,
// the names, then the data, each resource's on an 8-byte boundary.
class Builder {
public:
    explicit Builder(const std::vector<Resource>& sorted) : resources_(sorted) {}

    std::string Run(uint32_t rva) {
        std::map<ResourceKey, std::map<ResourceKey, std::vector<size_t>>> tree;
        for (size_t i = 0; i < resources_.size(); ++i)
            tree[resources_[i].type][resources_[i].name].push_back(i);
        // Sizes first, to know where each part begins.
        size_t directories = DirectorySize(tree.size());
        for (const auto& type : tree) {
            directories += DirectorySize(type.second.size());
            for (const auto& name : type.second) directories += DirectorySize(name.second.size());
        }
        dataEntries_ = directories;
        names_ = dataEntries_ + resources_.size() * kDataEntry;
        out_.assign(names_, '\0');

        size_t next = 0;  // where the next directory goes
        const size_t root = Place(next, tree.size());
        size_t index = 0;
        for (const auto& type : tree) {
            const size_t typeDirectory = Place(next, type.second.size());
            Link(root, index++, type.first, typeDirectory | kHighBit);
            size_t nameIndex = 0;
            for (const auto& name : type.second) {
                const size_t languages = Place(next, name.second.size());
                Link(typeDirectory, nameIndex++, name.first, languages | kHighBit);
                for (size_t l = 0; l < name.second.size(); ++l) {
                    const size_t r = name.second[l];
                    ResourceKey language;
                    language.id = resources_[r].language;
                    Link(languages, l, language, dataEntries_ + r * kDataEntry);
                }
            }
        }
        le::PadTo(out_, 8);
        for (size_t r = 0; r < resources_.size(); ++r) {
            const size_t entry = dataEntries_ + r * kDataEntry;
            le::Put32(out_, entry, static_cast<uint32_t>(rva + out_.size()));
            le::Put32(out_, entry + 4, static_cast<uint32_t>(resources_[r].data.size()));
            le::Put32(out_, entry + 8, resources_[r].codePage);
            out_ += resources_[r].data;
            le::PadTo(out_, 8);
        }
        return out_;
    }

private:
    static size_t DirectorySize(size_t entries) { return kDirectoryHeader + entries * kDirectoryEntry; }

    // Reserves a directory of `entries` and counts its names and numbers.
    size_t Place(size_t& next, size_t entries) {
        const size_t at = next;
        next += DirectorySize(entries);
        return at;
    }

    void Link(size_t directory, size_t index, const ResourceKey& key, size_t target) {
        // The header counts names (offset 12) and numbers (offset 14).
        const size_t counter = directory + (key.IsText() ? 12 : 14);
        le::Put16(out_, counter, static_cast<uint16_t>(le::U16(out_, counter) + 1));
        const size_t entry = directory + kDirectoryHeader + index * kDirectoryEntry;
        le::Put32(out_, entry, key.IsText() ? static_cast<uint32_t>(Name(key.text)) | kHighBit : key.id);
        le::Put32(out_, entry + 4, static_cast<uint32_t>(target));
    }

    // Appends a name (its length, then its characters) and gives its offset.
    size_t Name(const std::u16string& text) {
        const size_t at = out_.size();
        le::Append16(out_, static_cast<uint16_t>(text.size()));
        for (char16_t c : text) le::Append16(out_, static_cast<uint16_t>(c));
        return at;
    }

    const std::vector<Resource>& resources_;
    std::string out_;
    size_t dataEntries_ = 0, names_ = 0;
};

bool ResourceOrder(const Resource& a, const Resource& b) {
    if (!(a.type == b.type)) return a.type < b.type;
    if (!(a.name == b.name)) return a.name < b.name;
    return a.language < b.language;
}

}  // namespace

bool operator<(const ResourceKey& a, const ResourceKey& b) {
    if (a.IsText() != b.IsText()) return a.IsText();
    if (!a.IsText()) return a.id < b.id;
    std::u16string x = a.text, y = b.text;
    std::transform(x.begin(), x.end(), x.begin(), Upper);
    std::transform(y.begin(), y.end(), y.begin(), Upper);
    return x != y ? x < y : a.text < b.text;
}

bool operator==(const ResourceKey& a, const ResourceKey& b) { return a.id == b.id && a.text == b.text; }

std::vector<Resource> ReadResources(const std::string& section, uint32_t sectionRva) {
    try {
        return Reader(section, sectionRva).Run();
    } catch (const le::Truncated&) {
        Bad("a directory lies outside the section");
    }
}

std::string BuildResourceSection(std::vector<Resource> resources, uint32_t sectionRva) {
    std::stable_sort(resources.begin(), resources.end(), ResourceOrder);
    return Builder(resources).Run(sectionRva);
}

}  // namespace pe
