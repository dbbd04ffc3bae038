// An icon file (.ico) as a program carries it: each picture becomes an icon
// resource of its own, and a group resource lists them, the file's
// directory with each picture's offset replaced by its resource number.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace ico {

struct Picture {
    uint8_t width = 0, height = 0;  // 0 means 256
    uint8_t colors = 0;
    uint16_t planes = 0, bitCount = 0;
    std::string data;  // a PNG stream or a bitmap without its file header
};

// The largest icon file read: far above any real one (a full set with 256-pixel
// pictures is a few hundred KiB).
constexpr size_t kMostBytes = 4 * 1024 * 1024;

// The pictures of an icon file's bytes, in the file's order. Throws
// std::runtime_error naming the fault: no icon file, no pictures, a
// picture beyond the file's end, a picture that is neither PNG nor a bitmap.
std::vector<Picture> ParseIcon(const std::string& bytes);

// ParseIcon of the file at `path`; an unreadable or larger file is an error too.
std::vector<Picture> ReadIconFile(const std::string& path);

// The group resource for `pictures` stored as icon resources numbered
// firstId, firstId + 1, ...
std::string GroupResource(const std::vector<Picture>& pictures, uint16_t firstId);

// The icon numbers a group resource lists (a malformed group lists none
// beyond its end).
std::vector<uint16_t> GroupMembers(const std::string& group);

}  // namespace ico
