// The GIF scanner of the animated picture: block kinds and lengths, frame
// delays and disposals, frames cut out as GIFs of their own, and files that
// are truncated or damaged.
#include <gtest/gtest.h>

#include "GifWriter.h"
#include "skin/GifScanner.h"

using namespace skin::gif;
using giftest::GifWriter;

namespace {

std::vector<FrameInfo> AllFrames(const std::vector<uint8_t>& data,
                                 std::vector<std::vector<uint8_t>>* standalone = nullptr) {
    GifScanner scanner(data.data(), data.size());
    std::vector<FrameInfo> frames;
    FrameInfo frame;
    std::vector<uint8_t> gif;
    while (scanner.ExtractFrame(&frame, &gif)) {
        frames.push_back(frame);
        if (standalone) standalone->push_back(gif);
    }
    return frames;
}

TEST(SkinGifScanner, EveryBlockKindWithItsLength) {
    GifWriter g(10, 10);
    g.Application().Comment("hi").GraphicControl(7, 2).PlainText(1, 2, 3, 4, "ab");
    const size_t imageAt = g.bytes.size();
    g.Image(0, 0, 2, 2, giftest::kRed, true).Trailer().Raw({0x21, 0x99});
    GifScanner s(g.bytes.data(), g.bytes.size());
    ASSERT_TRUE(s.Valid());
    EXPECT_EQ(s.ScreenWidth(), 10);
    EXPECT_EQ(s.GlobalTableSize(), 12u);
    const struct {
        BlockType type;
        size_t length;
    } expected[] = {
        {BlockType::Application, 19},    // 14 + one 3-byte sub-block + terminator
        {BlockType::Comment, 6},         // 2 + "hi" sub-block + terminator
        {BlockType::GraphicControl, 8},
        {BlockType::PlainText, 19},      // 15 + "ab" sub-block + terminator
        {BlockType::Image, g.bytes.size() - 3 - imageAt},
        {BlockType::Trailer, 1},
    };
    for (const auto& e : expected) {
        EXPECT_EQ(s.NextBlockType(), e.type);
        EXPECT_EQ(s.NextBlockLength(), e.length);
        ASSERT_TRUE(s.SkipBlock());
    }
    EXPECT_EQ(s.NextBlockType(), BlockType::Unrecognised);
    EXPECT_EQ(s.NextBlockLength(), 0u);
    EXPECT_FALSE(s.SkipBlock());
    // The plain text block is a frame of its own, and so is the image.
    EXPECT_EQ(s.CountFrames(), 2);
}

TEST(SkinGifScanner, FramesCarryDelayDisposalAndPlace) {
    GifWriter g = giftest::ThreeFrames(1, 2, 3);
    std::vector<FrameInfo> f = AllFrames(g.bytes);
    ASSERT_EQ(f.size(), 3u);
    EXPECT_EQ(f[0].delay, 0);
    EXPECT_EQ(f[1].delay, 4);
    EXPECT_EQ(f[2].delay, 50);
    EXPECT_EQ(f[0].disposal, 1);
    EXPECT_EQ(f[1].disposal, 2);
    EXPECT_EQ(f[2].disposal, 3);
    EXPECT_EQ(f[2].left, 8);
    EXPECT_EQ(f[2].top, 8);
    EXPECT_EQ(f[2].width, 4);
    EXPECT_EQ(f[2].height, 4);
    EXPECT_EQ(FrameWaitMs(f[0].delay), 100);
    EXPECT_EQ(FrameWaitMs(f[1].delay), 100);
    EXPECT_EQ(FrameWaitMs(f[2].delay), 500);
    EXPECT_EQ(FrameWaitMs(2000), 10000);  // 20 seconds are cut to 10
    EXPECT_EQ(FrameWaitMs(-1), 0);        // no graphic control extension: next frame at once

    // Every disposal value, an image without an extension, and extensions
    // between a graphic control extension and its image.
    GifWriter h(4, 4);
    for (int d = 0; d < 8; ++d) h.GraphicControl(d + 5, d).Image(0, 0, 1, 1, giftest::kBlue);
    h.Image(1, 1, 1, 1, giftest::kRed);
    h.GraphicControl(9, 3).Comment("between").Application().Image(2, 2, 1, 1, giftest::kGreen);
    h.Trailer();
    f = AllFrames(h.bytes);
    ASSERT_EQ(f.size(), 10u);
    for (int d = 0; d < 8; ++d) {
        EXPECT_EQ(f[d].disposal, d);
        EXPECT_EQ(f[d].delay, d + 5);
    }
    EXPECT_EQ(f[8].delay, -1);
    EXPECT_EQ(f[8].left, 1);
    EXPECT_EQ(f[9].delay, 9);
    EXPECT_EQ(f[9].disposal, 3);
    EXPECT_EQ(f[9].left, 2);
}

TEST(SkinGifScanner, FramesBecomeStandaloneGifs) {
    GifWriter g = giftest::ThreeFrames();
    std::vector<std::vector<uint8_t>> gifs;
    std::vector<FrameInfo> f = AllFrames(g.bytes, &gifs);
    ASSERT_EQ(gifs.size(), 3u);
    const size_t prefix = 13 + 12;
    // The second frame's own bytes: its graphic control extension and image.
    GifWriter second(12, 12);
    second.GraphicControl(4, 1).Image(8, 0, 4, 4, giftest::kGreen);
    std::vector<uint8_t> expected(g.bytes.begin(), g.bytes.begin() + prefix);
    expected.insert(expected.end(), second.bytes.begin() + prefix, second.bytes.end());
    expected.push_back(0x3B);
    EXPECT_EQ(gifs[1], expected);
    for (size_t i = 0; i < gifs.size(); ++i) {
        std::vector<FrameInfo> one = AllFrames(gifs[i]);
        ASSERT_EQ(one.size(), 1u);
        EXPECT_EQ(one[0].left, f[i].left);
        EXPECT_EQ(one[0].delay, f[i].delay);
        GifScanner s(gifs[i].data(), gifs[i].size());
        ASSERT_TRUE(s.SkipGraphicBlock());
        EXPECT_EQ(s.NextBlockType(), BlockType::Trailer);
    }
}

TEST(SkinGifScanner, TruncatedFilesKeepTheFramesBeforeTheCut) {
    GifWriter g = giftest::ThreeFrames();
    // Where each frame's last block ends in the whole file.
    std::vector<size_t> frameEnds;
    GifScanner whole(g.bytes.data(), g.bytes.size());
    while (whole.SkipGraphicBlock()) frameEnds.push_back(whole.Offset());
    ASSERT_EQ(frameEnds.size(), 3u);
    for (size_t size = 0; size < g.bytes.size(); ++size) {
        // A copy of exactly `size` bytes, so a read past it is a read past the data.
        std::vector<uint8_t> cut(g.bytes.begin(), g.bytes.begin() + size);
        size_t complete = 0;
        while (complete < frameEnds.size() && frameEnds[complete] <= size) ++complete;
        GifScanner s(cut.data(), cut.size());
        EXPECT_EQ(static_cast<size_t>(s.CountFrames()), complete) << "size " << size;
        EXPECT_EQ(AllFrames(cut).size(), complete) << "size " << size;
    }
}

TEST(SkinGifScanner, DamagedFilesEndTheScan) {
    // Not GIFs: another version text, too short for the screen descriptor,
    // a global colour table longer than the file.
    GifWriter other(4, 4, "GIF90a");
    other.Image(0, 0, 1, 1, giftest::kRed).Trailer();
    EXPECT_FALSE(IsGif(other.bytes.data(), other.bytes.size()));
    EXPECT_FALSE(GifScanner(other.bytes.data(), other.bytes.size()).Valid());
    const uint8_t shortGif[] = {'G', 'I', 'F', '8', '9', 'a', 4, 0};
    EXPECT_TRUE(IsGif(shortGif, sizeof shortGif));
    EXPECT_FALSE(GifScanner(shortGif, sizeof shortGif).Valid());
    GifWriter bigTable(4, 4);
    bigTable.bytes[10] = 0x87;  // 768 bytes of table in a file of 25
    GifScanner noTable(bigTable.bytes.data(), bigTable.bytes.size());
    EXPECT_FALSE(noTable.Valid());
    EXPECT_EQ(noTable.CountFrames(), 0);

    // One good frame, then: an unknown byte; a local colour table past the
    // end; a sub-block chain without its terminator; a sub-block length past
    // the end. Each keeps the first frame and stops.
    auto afterOneFrame = [](std::initializer_list<uint8_t> tail) {
        GifWriter g(4, 4);
        g.GraphicControl(10, 0).Image(0, 0, 2, 2, giftest::kRed).Raw(tail);
        return g.bytes;
    };
    const std::vector<std::vector<uint8_t>> damaged = {
        afterOneFrame({0x00, 0x2C}),
        afterOneFrame({0x2C, 0, 0, 0, 0, 1, 0, 1, 0, 0x87, 2, 1, 0, 0}),
        afterOneFrame({0x21, 0xFE, 3, 'a', 'b', 'c', 2, 'd', 'e'}),
        afterOneFrame({0x21, 0xFF, 0x0B, 'N', 'E', 'T', 'S', 'C', 'A', 'P', 'E', '2', '.', '0', 200, 1}),
        afterOneFrame({0x21, 0xF9, 4, 0, 5}),  // extension cut short
    };
    for (size_t i = 0; i < damaged.size(); ++i) {
        GifScanner s(damaged[i].data(), damaged[i].size());
        EXPECT_EQ(s.CountFrames(), 1) << "case " << i;
        EXPECT_EQ(AllFrames(damaged[i]).size(), 1u) << "case " << i;
    }
    // A graphic control extension followed by the trailer is no frame.
    GifWriter lonely(4, 4);
    lonely.GraphicControl(10, 0).Trailer();
    EXPECT_EQ(GifScanner(lonely.bytes.data(), lonely.bytes.size()).CountFrames(), 0);
}

}  // namespace
