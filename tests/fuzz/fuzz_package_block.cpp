// A single file's end as the setup reads its own file: the program headers
// (first byte even), or the bytes after the image: the trailer found among
// them, the entry table and the block unpacked through a sink that checks
// every entry gets its size and only paths that stay inside the folder.
#include <cstdint>
#include <cstring>
#include <string>

#include "core/PackageBlock.h"
#include "core/PeImage.h"

namespace {

namespace block = core::packageblock;

constexpr uint64_t kImageEnd = 0x400;

class Source : public block::Source {
public:
    Source(const uint8_t* data, size_t size) : data_(data), size_(size) {}
    bool Read(unsigned char* out, size_t n) override {
        if (n > size_ - at_) return false;
        if (n) std::memcpy(out, data_ + at_, n);
        at_ += n;
        return true;
    }

private:
    const uint8_t* data_;
    size_t size_, at_ = 0;
};

class Sink : public block::Sink {
public:
    bool Open(const block::Entry& entry) override {
        if (!block::PathProblem(entry.path, 932).empty() && !block::PathProblem(entry.path, 1252).empty())
            __builtin_trap();
        left_ = entry.size;
        return true;
    }
    bool Write(const unsigned char*, size_t n) override {
        if (n > left_) __builtin_trap();
        left_ -= n;
        return true;
    }
    bool Close() override { return true; }
    bool Progress(uint64_t done, uint64_t total) override {
        if (done > total) __builtin_trap();
        return true;
    }

private:
    uint64_t left_ = 0;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    if ((data[0] & 1) == 0) {
        core::pe::Layout layout;
        if (core::pe::ReadLayout(data + 1, size - 1, size - 1, layout).empty() &&
            core::pe::ImageEnd(layout, 0) > size - 1)
            __builtin_trap();  // an image end past the file is a refusal, never a layout
        return 0;
    }
    const uint8_t* overlay = data + 1;
    const size_t length = size - 1;
    const size_t tail = length < 55 ? length : 55;
    const block::Found found = block::FindBlock(overlay + length - tail, tail, kImageEnd + length, kImageEnd);
    if (found.kind != block::Found::kBlock) return 0;
    Source source(overlay, length);
    Sink sink;
    // The entries are read in the code page the first byte's second bit chooses.
    block::Unpack(source, found.trailer, (data[0] & 2) ? 932 : 1252, sink, 4096);
    return 0;
}
