#include "IconFile.h"

#include <fstream>
#include <iterator>
#include <stdexcept>

#include "LittleEndian.h"

namespace ico {

namespace {

constexpr size_t kHeader = 6;
constexpr size_t kFileEntry = 16;
constexpr size_t kGroupEntry = 14;
constexpr uint16_t kIconType = 1;
constexpr size_t kBitmapInfoHeader = 40;

[[noreturn]] void Bad(const std::string& why) { throw std::runtime_error(why); }

bool IsPng(const std::string& data) { return data.compare(0, 8, "\x89PNG\r\n\x1A\n", 8) == 0; }

bool IsBitmap(const std::string& data) {
    return data.size() >= kBitmapInfoHeader && le::U32(data, 0) >= kBitmapInfoHeader;
}

}  // namespace

std::vector<Picture> ParseIcon(const std::string& bytes) {
    if (bytes.size() < kHeader || le::U16(bytes, 0) != 0 || le::U16(bytes, 2) != kIconType)
        Bad("not an icon file (.ico)");
    const size_t count = le::U16(bytes, 4);
    if (count == 0) Bad("the icon file holds no pictures");
    if (!le::Fits(bytes, kHeader, count * kFileEntry)) Bad("truncated icon file: its directory ends early");
    std::vector<Picture> pictures;
    for (size_t i = 0; i < count; ++i) {
        const size_t entry = kHeader + i * kFileEntry;
        Picture p;
        p.width = le::U8(bytes, entry);
        p.height = le::U8(bytes, entry + 1);
        p.colors = le::U8(bytes, entry + 2);
        p.planes = le::U16(bytes, entry + 4);
        p.bitCount = le::U16(bytes, entry + 6);
        const uint32_t size = le::U32(bytes, entry + 8);
        const uint32_t offset = le::U32(bytes, entry + 12);
        const std::string where = "picture " + std::to_string(i + 1) + " of the icon file";
        if (size == 0 || !le::Fits(bytes, offset, size)) Bad("truncated icon file: " + where + " ends beyond it");
        p.data = bytes.substr(offset, size);
        if (!IsPng(p.data) && !IsBitmap(p.data)) Bad(where + " is neither PNG nor a bitmap");
        pictures.push_back(std::move(p));
    }
    return pictures;
}

std::vector<Picture> ReadIconFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) Bad("cannot read the icon file");
    std::string bytes;
    char buffer[65536];
    while (in.read(buffer, sizeof buffer) || in.gcount() > 0) {
        bytes.append(buffer, static_cast<size_t>(in.gcount()));
        if (bytes.size() > kMostBytes) Bad("the icon file is larger than 4 MiB");
    }
    if (in.bad()) Bad("cannot read the icon file");
    return ParseIcon(bytes);
}

std::string GroupResource(const std::vector<Picture>& pictures, uint16_t firstId) {
    std::string group;
    le::Append16(group, 0);
    le::Append16(group, kIconType);
    le::Append16(group, static_cast<uint16_t>(pictures.size()));
    for (size_t i = 0; i < pictures.size(); ++i) {
        const Picture& p = pictures[i];
        group += static_cast<char>(p.width);
        group += static_cast<char>(p.height);
        group += static_cast<char>(p.colors);
        group += '\0';
        le::Append16(group, p.planes);
        le::Append16(group, p.bitCount);
        le::Append32(group, static_cast<uint32_t>(p.data.size()));
        le::Append16(group, static_cast<uint16_t>(firstId + i));
    }
    return group;
}

std::vector<uint16_t> GroupMembers(const std::string& group) {
    std::vector<uint16_t> ids;
    if (!le::Fits(group, 0, kHeader)) return ids;
    const size_t count = le::U16(group, 4);
    for (size_t i = 0; i < count && le::Fits(group, kHeader + i * kGroupEntry, kGroupEntry); ++i)
        ids.push_back(le::U16(group, kHeader + i * kGroupEntry + 12));
    return ids;
}

}  // namespace ico
