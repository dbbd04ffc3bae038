// Writes small GIF files block by block for the tests: a four-colour global
// table (black, red, green, blue) and images of one colour each, coded as
// LZW with a clear code before every second pixel so the code size never grows.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace giftest {

enum Colour : uint8_t { kBlack = 0, kRed = 1, kGreen = 2, kBlue = 3 };

class GifWriter {
public:
    GifWriter(int width, int height, const char* version = "GIF89a") {
        Text(version);
        Word(width);
        Word(height);
        bytes.push_back(0x81);  // global table of 4 colours
        bytes.push_back(0);
        bytes.push_back(0);
        const uint8_t table[] = {0, 0, 0, 255, 0, 0, 0, 255, 0, 0, 0, 255};
        bytes.insert(bytes.end(), table, table + sizeof table);
    }

    GifWriter& Application() {  // the looping extension browsers know
        bytes.insert(bytes.end(), {0x21, 0xFF, 0x0B});
        Text("NETSCAPE2.0");
        bytes.insert(bytes.end(), {0x03, 0x01, 0x00, 0x00, 0x00});
        return *this;
    }
    GifWriter& Comment(const std::string& text) {
        bytes.insert(bytes.end(), {0x21, 0xFE});
        SubBlocks(std::vector<uint8_t>(text.begin(), text.end()));
        return *this;
    }
    GifWriter& GraphicControl(int delay, int disposal) {
        bytes.insert(bytes.end(), {0x21, 0xF9, 0x04, static_cast<uint8_t>(disposal << 2)});
        Word(delay);
        bytes.insert(bytes.end(), {0x00, 0x00});
        return *this;
    }
    GifWriter& PlainText(int left, int top, int width, int height, const std::string& text) {
        bytes.insert(bytes.end(), {0x21, 0x01, 0x0C});
        Word(left);
        Word(top);
        Word(width);
        Word(height);
        bytes.insert(bytes.end(), {8, 8, 1, 0});
        SubBlocks(std::vector<uint8_t>(text.begin(), text.end()));
        return *this;
    }
    // An image of one colour; with `localTable` it carries its own 4-colour table.
    GifWriter& Image(int left, int top, int width, int height, Colour colour, bool localTable = false) {
        bytes.push_back(0x2C);
        Word(left);
        Word(top);
        Word(width);
        Word(height);
        bytes.push_back(localTable ? 0x81 : 0x00);
        if (localTable)
            for (int i = 0; i < 12; ++i) bytes.push_back(static_cast<uint8_t>(i * 20));
        bytes.push_back(2);  // LZW minimum code size
        SubBlocks(Lzw(width * height, colour));
        return *this;
    }
    GifWriter& Trailer() {
        bytes.push_back(0x3B);
        return *this;
    }
    GifWriter& Raw(std::initializer_list<uint8_t> raw) {
        bytes.insert(bytes.end(), raw);
        return *this;
    }

    std::string Str() const { return std::string(bytes.begin(), bytes.end()); }

    std::vector<uint8_t> bytes;

private:
    void Word(int v) {
        bytes.push_back(static_cast<uint8_t>(v & 0xFF));
        bytes.push_back(static_cast<uint8_t>((v >> 8) & 0xFF));
    }
    void Text(const char* s) {
        while (*s) bytes.push_back(static_cast<uint8_t>(*s++));
    }
    void SubBlocks(const std::vector<uint8_t>& data) {
        for (size_t at = 0; at < data.size(); at += 255) {
            const size_t n = data.size() - at < 255 ? data.size() - at : 255;
            bytes.push_back(static_cast<uint8_t>(n));
            bytes.insert(bytes.end(), data.begin() + at, data.begin() + at + n);
        }
        bytes.push_back(0);
    }
    // 3-bit codes: clear (4), then pixels, a clear before every second pixel, end (5).
    static std::vector<uint8_t> Lzw(int pixels, uint8_t colour) {
        std::vector<uint8_t> out;
        uint32_t acc = 0;
        int bits = 0;
        auto code = [&](uint32_t c) {
            acc |= c << bits;
            bits += 3;
            while (bits >= 8) {
                out.push_back(static_cast<uint8_t>(acc & 0xFF));
                acc >>= 8;
                bits -= 8;
            }
        };
        for (int i = 0; i < pixels; ++i) {
            if (i % 2 == 0) code(4);
            code(colour);
        }
        code(5);
        if (bits > 0) out.push_back(static_cast<uint8_t>(acc & 0xFF));
        return out;
    }
};

// Three frames over a 12x12 screen, a red, a green and a blue 4x4 square
// each in its own corner (top left, top right, bottom right), with delays 0,
// 4 and 50 and the disposals given.
inline GifWriter ThreeFrames(int disposal1 = 1, int disposal2 = 1, int disposal3 = 1) {
    GifWriter g(12, 12);
    g.Application().GraphicControl(0, disposal1).Image(0, 0, 4, 4, kRed);
    g.GraphicControl(4, disposal2).Image(8, 0, 4, 4, kGreen);
    g.GraphicControl(50, disposal3).Image(8, 8, 4, 4, kBlue);
    g.Trailer();
    return g;
}

}  // namespace giftest
