#include "skin/GifScanner.h"

#include <cstring>

namespace skin::gif {

namespace {

constexpr size_t kHeaderSize = 6;
constexpr size_t kScreenEnd = 13;  // header and logical screen descriptor
constexpr uint8_t kExtension = 0x21;
constexpr uint8_t kImage = 0x2C;
constexpr uint8_t kTrailer = 0x3B;

// Fixed parts before the data sub-blocks (or the whole block).
constexpr size_t kApplicationFixed = 14;
constexpr size_t kCommentFixed = 2;
constexpr size_t kGraphicControlLength = 8;
constexpr size_t kPlainTextFixed = 15;
constexpr size_t kImageFixed = 11;  // descriptor and the LZW code size byte

// Bytes of a colour table whose packed field is `packed` (flag in bit 7).
size_t ColourTableSize(uint8_t packed) {
    return (packed & 0x80) ? 3u * (2u << (packed & 7)) : 0u;
}

}  // namespace

bool IsGif(const uint8_t* data, size_t size) {
    return data && size >= kHeaderSize &&
           (std::memcmp(data, "GIF87a", kHeaderSize) == 0 || std::memcmp(data, "GIF89a", kHeaderSize) == 0);
}

int FrameWaitMs(int delay) {
    if (delay < 0) return 0;
    if (delay < 5) return 100;
    if (delay >= kMaxFrameWaitMs / 10) return kMaxFrameWaitMs;
    return delay * 10;
}

GifScanner::GifScanner(const uint8_t* data, size_t size) : data_(data), size_(size) {
    if (!IsGif(data, size) || size < kScreenEnd) return;
    screenWidth_ = static_cast<int>(Word(6));
    screenHeight_ = static_cast<int>(Word(8));
    globalTableSize_ = ColourTableSize(data[10]);
    valid_ = kScreenEnd + globalTableSize_ <= size;
    Rewind();
}

unsigned GifScanner::Word(size_t at) const { return data_[at] | (data_[at + 1] << 8); }

void GifScanner::Rewind() { offset_ = valid_ ? kScreenEnd + globalTableSize_ : size_; }

BlockType GifScanner::NextBlockType() const {
    if (offset_ >= size_) return BlockType::Unrecognised;
    const uint8_t first = data_[offset_];
    if (first == kImage) return BlockType::Image;
    if (first == kTrailer) return BlockType::Trailer;
    if (first != kExtension || offset_ + 1 >= size_) return BlockType::Unrecognised;
    switch (data_[offset_ + 1]) {
    case 0xFF: return BlockType::Application;
    case 0xFE: return BlockType::Comment;
    case 0xF9: return BlockType::GraphicControl;
    case 0x01: return BlockType::PlainText;
    default: return BlockType::Unrecognised;
    }
}

size_t GifScanner::SubBlocksLength(size_t at) const {
    size_t length = 0;
    for (;;) {
        if (at + length >= size_) return 0;
        const size_t block = data_[at + length];
        length += block + 1;
        if (block == 0) return length;
    }
}

size_t GifScanner::NextBlockLength() const {
    // A fixed part followed by sub-blocks; 0 when either runs past the end.
    auto withSubBlocks = [this](size_t fixed) -> size_t {
        if (offset_ + fixed > size_) return 0;
        const size_t sub = SubBlocksLength(offset_ + fixed);
        return sub ? fixed + sub : 0;
    };
    switch (NextBlockType()) {
    case BlockType::Application: return withSubBlocks(kApplicationFixed);
    case BlockType::Comment: return withSubBlocks(kCommentFixed);
    case BlockType::GraphicControl: return kGraphicControlLength;
    case BlockType::PlainText: return withSubBlocks(kPlainTextFixed);
    case BlockType::Image:
        if (offset_ + kImageFixed > size_) return 0;
        return withSubBlocks(kImageFixed + ColourTableSize(data_[offset_ + 9]));
    case BlockType::Trailer: return 1;
    case BlockType::Unrecognised: return 0;
    }
    return 0;
}

bool GifScanner::SkipBlock() {
    const size_t length = NextBlockLength();
    if (length == 0 || length > size_ - offset_) return false;
    offset_ += length;
    return true;
}

bool GifScanner::SkipToFrameStart() {
    for (;;) {
        switch (NextBlockType()) {
        case BlockType::Application:
        case BlockType::Comment:
            if (!SkipBlock()) return false;
            break;
        case BlockType::GraphicControl:
        case BlockType::PlainText:
        case BlockType::Image:
            return true;
        default:
            return false;
        }
    }
}

bool GifScanner::SkipThroughFrameBlock(size_t* frameBlock) {
    for (;;) {
        const BlockType type = NextBlockType();
        if (type == BlockType::Trailer || type == BlockType::Unrecognised) return false;
        const bool last = type == BlockType::Image || type == BlockType::PlainText;
        const size_t at = offset_;
        if (!SkipBlock()) return false;
        if (last) {
            if (frameBlock) *frameBlock = at;
            return true;
        }
    }
}

bool GifScanner::SkipGraphicBlock() {
    if (!SkipToFrameStart()) return false;
    if (NextBlockType() == BlockType::GraphicControl) {
        if (!SkipBlock()) return false;
    }
    return SkipThroughFrameBlock(nullptr);
}

int GifScanner::CountFrames() {
    Rewind();
    int frames = 0;
    while (SkipGraphicBlock()) ++frames;
    Rewind();
    return frames;
}

bool GifScanner::ExtractFrame(FrameInfo* frame, std::vector<uint8_t>* standalone) {
    if (!SkipToFrameStart()) return false;
    const size_t start = offset_;
    FrameInfo info;
    if (NextBlockType() == BlockType::GraphicControl) {
        if (!SkipBlock()) return false;
        info.delay = static_cast<int>(Word(start + 4));
        info.disposal = (data_[start + 3] >> 2) & 7;
    }
    size_t block = 0;
    if (!SkipThroughFrameBlock(&block)) return false;
    // The image descriptor, or the text grid of a plain text block, gives the
    // frame's place on the screen; both lie inside the block just skipped.
    const size_t place = block + (data_[block] == kImage ? 1 : 3);
    info.left = static_cast<int>(Word(place));
    info.top = static_cast<int>(Word(place + 2));
    info.width = static_cast<int>(Word(place + 4));
    info.height = static_cast<int>(Word(place + 6));

    const size_t prefix = kScreenEnd + globalTableSize_;
    standalone->clear();
    standalone->reserve(prefix + (offset_ - start) + 1);
    standalone->insert(standalone->end(), data_, data_ + prefix);
    standalone->insert(standalone->end(), data_ + start, data_ + offset_);
    standalone->push_back(kTrailer);
    *frame = info;
    return true;
}

}  // namespace skin::gif
