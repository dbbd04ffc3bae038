// Splits a fuzzer's bytes into the values a target needs: small numbers from
// the front, texts cut at a separator byte, the rest as one text.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

namespace fuzz {

class Input {
public:
    Input(const uint8_t* data, size_t size) : data_(data), size_(size) {}

    // One byte (0 when the input is used up).
    uint8_t Byte() { return pos_ < size_ ? data_[pos_++] : 0; }

    // A number from two bytes.
    unsigned Word() { return Byte() | (unsigned(Byte()) << 8); }

    // The bytes up to the next `separator` (not included), or to the end.
    std::string Until(char separator) {
        std::string s;
        while (pos_ < size_ && char(data_[pos_]) != separator) s += char(data_[pos_++]);
        if (pos_ < size_) ++pos_;
        return s;
    }

    // Everything not taken yet.
    std::string Rest() {
        std::string s(reinterpret_cast<const char*>(data_) + pos_, size_ - pos_);
        pos_ = size_;
        return s;
    }

    bool Empty() const { return pos_ >= size_; }

private:
    const uint8_t* data_;
    size_t size_;
    size_t pos_ = 0;
};

// The code pages the rules distinguish: single-byte ones and the four
// double-byte ones with their lead bytes.
inline unsigned CodePageOf(uint8_t selector) {
    static const unsigned kPages[] = {1252, 932, 936, 949, 950, 1250, 0, 65001};
    return kPages[selector % (sizeof kPages / sizeof kPages[0])];
}

}  // namespace fuzz
