// Walks the blocks of a GIF file held in memory (GIF87a or GIF89a): a 6-byte
// header, a 7-byte logical screen descriptor, an optional global colour
// table, then extension and image blocks up to the trailer. The animated
// picture counts the frames with it and cuts each frame out as a GIF of its
// own, since the system's picture loader decodes only a file's first frame.
//
// Every position and length is checked against the data's size: a truncated
// or damaged file ends the walk where it stops making sense, and what was
// found before that remains.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace skin::gif {

enum class BlockType {
    Application,     // 0x21 0xFF
    Comment,         // 0x21 0xFE
    GraphicControl,  // 0x21 0xF9: delay and disposal of the next image
    PlainText,       // 0x21 0x01
    Image,           // 0x2C: image descriptor, colour table and data
    Trailer,         // 0x3B
    Unrecognised,
};

// One frame found in the data.
struct FrameInfo {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    int delay = -1;    // hundredths of a second; -1: the frame has no graphic control extension
    int disposal = 0;  // 0..7, from the graphic control extension
};

// True when the data begins with "GIF87a" or "GIF89a".
bool IsGif(const uint8_t* data, size_t size);

// How long a frame stays before the next, in milliseconds: a delay of 5 or
// more hundredths as stored, 0 to 4 (which browsers also treat as "fast")
// 100 ms, no graphic control extension no wait at all; never more than
// kMaxFrameWaitMs.
int FrameWaitMs(int delay);
constexpr int kMaxFrameWaitMs = 10000;

class GifScanner {
public:
    // The data must stay valid while the scanner is used.
    GifScanner(const uint8_t* data, size_t size);

    // The data is a GIF with a complete screen descriptor and colour table.
    bool Valid() const { return valid_; }
    int ScreenWidth() const { return screenWidth_; }
    int ScreenHeight() const { return screenHeight_; }
    size_t GlobalTableSize() const { return globalTableSize_; }

    // Back to the first block after the global colour table.
    void Rewind();
    size_t Offset() const { return offset_; }

    BlockType NextBlockType() const;
    // Length of the block at the current offset; 0 when it is unrecognised
    // or does not fit in the data.
    size_t NextBlockLength() const;
    // Moves past the current block; false (and no move) when its length is 0.
    bool SkipBlock();

    // Moves past one frame (its extensions and its image or plain text
    // block); false at the trailer, at an unrecognised block or at the end.
    bool SkipGraphicBlock();
    // Counts the frames from the first block on.
    int CountFrames();

    // Moves past one frame like SkipGraphicBlock and returns it as a
    // standalone GIF: this file's header, screen descriptor and global
    // colour table, the frame's blocks, and a trailer. False when no frame
    // follows.
    bool ExtractFrame(FrameInfo* frame, std::vector<uint8_t>* standalone);

private:
    // Sum of the data sub-blocks starting at `at` (each length byte and its
    // data, up to and including the zero terminator); 0 when the chain runs
    // past the end of the data.
    size_t SubBlocksLength(size_t at) const;
    // Skips application and comment extensions; false unless a graphic
    // control extension, an image or a plain text block is then current.
    bool SkipToFrameStart();
    // Skips (other extensions and) the next image or plain text block,
    // whose offset goes to `frameBlock`. False when none follows.
    bool SkipThroughFrameBlock(size_t* frameBlock);
    unsigned Word(size_t at) const;

    const uint8_t* data_;
    size_t size_;
    bool valid_ = false;
    int screenWidth_ = 0;
    int screenHeight_ = 0;
    size_t globalTableSize_ = 0;
    size_t offset_ = 0;
};

}  // namespace skin::gif
