// Reading and writing the little-endian numbers of Windows file formats
// (programs, resources, icons) in byte strings. Every read is checked against
// the string's end: input from outside may be cut short anywhere.
#pragma once

#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>

namespace le {

// Thrown when a read would pass the end of its data.
struct Truncated : std::runtime_error {
    using std::runtime_error::runtime_error;
};

inline bool Fits(const std::string& data, size_t offset, size_t length) {
    return offset <= data.size() && length <= data.size() - offset;
}

inline uint32_t Read(const std::string& data, size_t offset, size_t bytes) {
    if (!Fits(data, offset, bytes)) throw Truncated("truncated");
    uint32_t value = 0;
    for (size_t i = 0; i < bytes; ++i) value |= uint32_t(static_cast<unsigned char>(data[offset + i])) << (8 * i);
    return value;
}

inline uint8_t U8(const std::string& data, size_t offset) { return static_cast<uint8_t>(Read(data, offset, 1)); }
inline uint16_t U16(const std::string& data, size_t offset) { return static_cast<uint16_t>(Read(data, offset, 2)); }
inline uint32_t U32(const std::string& data, size_t offset) { return Read(data, offset, 4); }

// Overwrites bytes that are known to be there (the writer's own layout).
inline void Put(std::string& data, size_t offset, uint32_t value, size_t bytes) {
    if (!Fits(data, offset, bytes)) throw std::logic_error("write past the end");
    for (size_t i = 0; i < bytes; ++i) data[offset + i] = static_cast<char>((value >> (8 * i)) & 0xFF);
}
inline void Put16(std::string& data, size_t offset, uint16_t value) { Put(data, offset, value, 2); }
inline void Put32(std::string& data, size_t offset, uint32_t value) { Put(data, offset, value, 4); }

inline void Append16(std::string& data, uint16_t value) {
    data += static_cast<char>(value & 0xFF);
    data += static_cast<char>(value >> 8);
}
inline void Append32(std::string& data, uint32_t value) {
    Append16(data, static_cast<uint16_t>(value & 0xFFFF));
    Append16(data, static_cast<uint16_t>(value >> 16));
}

// Zero bytes up to the next multiple of `alignment` (a power of two).
inline void PadTo(std::string& data, size_t alignment) {
    while (data.size() % alignment) data += '\0';
}

inline uint64_t AlignUp(uint64_t value, uint64_t alignment) {
    return (value + alignment - 1) / alignment * alignment;
}

}  // namespace le
