// The GIF scanner: any bytes, every frame taken out as a standalone picture.
#include <cstdint>
#include <vector>

#include "skin/GifScanner.h"

namespace gif = skin::gif;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    gif::IsGif(data, size);
    gif::GifScanner scanner(data, size);
    if (!scanner.Valid()) return 0;
    const int frames = scanner.CountFrames();
    scanner.Rewind();
    int taken = 0;
    gif::FrameInfo frame;
    std::vector<uint8_t> standalone;
    while (scanner.ExtractFrame(&frame, &standalone)) {
        if (++taken > frames) __builtin_trap();  // more frames taken than counted
        if (scanner.Offset() > size) __builtin_trap();
        gif::FrameWaitMs(frame.delay);
        // The standalone picture is a GIF the scanner reads back as one frame.
        gif::GifScanner again(standalone.data(), standalone.size());
        if (!again.Valid() || again.CountFrames() != 1) __builtin_trap();
    }
    scanner.Rewind();
    while (scanner.Offset() < size && scanner.SkipBlock()) scanner.NextBlockLength();
    return 0;
}
