// The package block of a single-file setup: the files of a packed folder
// (every file but setup.exe) appended to the engine, after the end of its
// program image, followed by a fixed-size trailer. cvpack writes it; the
// setup finds it in its own file, checks it and unpacks it. Portable: the
// rules are the same on both sides and tested and fuzzed natively.
//
//   file:    [program image][block][trailer][0-7 zero bytes][certificate table]
//   block:   [entry table][contents of each entry, in table order][0-7 zero bytes]
//   entry:   u16 path length, u64 size, the path (no terminator)
//   trailer: "CVPKBLK" 0x1A, u32 version, u32 entry count, u64 block offset,
//            u64 block length, u64 table length, u32 CRC-32C of the block,
//            u32 trailer size (48)
//
// Numbers are little-endian. The block starts where the image ends
// (core/PeImage.h) and its zero bytes make the trailer end at a multiple of
// 8 bytes, where a signature appended later begins without padding. The
// certificate table, when there is one, is where the file's data end; else
// the file's end is. The sum covers the whole block and catches damage; a
// deliberate change is the signature's to catch.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace core::packageblock {

constexpr char kMagic[8] = {'C', 'V', 'P', 'K', 'B', 'L', 'K', '\x1A'};
constexpr uint32_t kVersion = 1;
constexpr size_t kTrailerSize = 48;
// Zero bytes tolerated between the trailer and the end of the data.
constexpr size_t kMaxTrailerPadding = 7;
constexpr size_t kEntryHeaderSize = 10;
// Limits that keep the table small and every unpacked path short enough for
// the system's calls below any temporary folder of a sane length.
constexpr uint32_t kMaxEntries = 100000;
constexpr size_t kMaxPathLength = 160;

struct Trailer {
    uint32_t version = kVersion;
    uint32_t entryCount = 0;
    uint64_t blockOffset = 0;
    uint64_t blockLength = 0;
    uint64_t tableLength = 0;
    uint32_t checksum = 0;
};

struct Entry {
    std::string path;  // relative, backslashes, in the setup's ANSI code page
    uint64_t size = 0;
    uint64_t offset = 0;  // where its bytes start in the file (ParseTable sets it)
};

std::string EncodeTrailer(const Trailer& trailer);
std::string EncodeEntry(const Entry& entry);
// The zero bytes that end a block whose table and contents end at `end` (a
// file offset), so that the trailer after it ends at a multiple of 8.
uint64_t PaddingAfter(uint64_t end);

// What a file's end holds.
struct Found {
    enum Kind { kNone, kBlock, kDamaged } kind = kNone;
    Trailer trailer;
    std::string problem;  // kDamaged: what is wrong
    bool trailerFound = false;  // a trailer is there (its numbers may not fit)
};

// Looks at the data between the image's end and the end of the data:
// nothing there is a program without a block (kNone); a valid trailer is
// kBlock; anything else (data without a trailer, a trailer whose numbers do
// not fit the file) is a damaged file. `tail` holds the last `tailSize` bytes
// before dataEnd, at least min(dataEnd - imageEnd, kTrailerSize + kMaxTrailerPadding).
Found FindBlock(const unsigned char* tail, size_t tailSize, uint64_t dataEnd, uint64_t imageEnd);

// Why a path from a block cannot be unpacked ("" when it can): empty or
// longer than kMaxPathLength, not relative (a root, a drive, a colon of a
// stream), an empty, "." or ".." part, a part ending in a dot or a blank or
// naming a device, a control character or one of < > " | ? * /. Read by
// characters of `codePage`, so that the second byte of a double-byte
// character is never taken for a backslash.
std::string PathProblem(const std::string& path, unsigned codePage);

// Reads the entry table (the block's first trailer.tableLength bytes): every
// path valid, none given twice (in any case) or both a file and a folder,
// setup.exe left to the engine, the sizes adding up to the block's length.
// "" when the table is sound, else the problem.
std::string ParseTable(const unsigned char* table, size_t size, const Trailer& trailer, unsigned codePage,
                       std::vector<Entry>& entries);

// The block's bytes in order, from its start.
class Source {
public:
    virtual ~Source() = default;
    // Reads exactly `size` bytes; false when they cannot be read.
    virtual bool Read(unsigned char* data, size_t size) = 0;
};

// Where the entries go.
class Sink {
public:
    virtual ~Sink() = default;
    virtual bool Open(const Entry& entry) = 0;  // makes its folders and the file
    virtual bool Write(const unsigned char* data, size_t size) = 0;
    virtual bool Close() = 0;
    // Called after each piece; false stops the unpacking.
    virtual bool Progress(uint64_t done, uint64_t total) = 0;
};

struct Outcome {
    enum Kind { kUnpacked, kDamaged, kFailed, kStopped } kind = kUnpacked;
    std::string problem;
};

// Reads the table and writes every entry through the sink in one pass,
// summing as it goes; kUnpacked only when the sum matches the trailer's.
// Whatever else it returns, what the sink wrote must not be used.
// `bufferSize` bytes are read at a time (large, for speed).
Outcome Unpack(Source& source, const Trailer& trailer, unsigned codePage, Sink& sink, size_t bufferSize);

}  // namespace core::packageblock
