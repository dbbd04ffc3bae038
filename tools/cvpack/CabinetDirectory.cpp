#include "CabinetDirectory.h"

#include <algorithm>
#include <filesystem>
#include <fstream>

namespace {

// Header flags.
constexpr uint16_t kPreviousCabinet = 0x0001;
constexpr uint16_t kNextCabinet = 0x0002;
constexpr uint16_t kReservePresent = 0x0004;

constexpr size_t kFixedHeader = 36;
constexpr size_t kFileEntryFixed = 16;
constexpr size_t kMaxNameBytes = 256;  // the name's terminating zero included
// Folder indexes at and above this one say the data continues from or into
// another cabinet of a set.
constexpr uint16_t kFirstContinuedIndex = 0xFFFD;

[[noreturn]] void Fail(const std::string& problem) { throw CabinetDirectoryError(problem); }

// Little-endian fields read at a position that only moves forward, each read
// checked against the bytes there are.
class Cursor {
public:
    Cursor(const std::string& bytes, size_t position) : bytes_(bytes), position_(position) {}

    uint8_t U8(const char* what) { return static_cast<uint8_t>(Take(1, what)[0]); }
    uint16_t U16(const char* what) {
        const char* p = Take(2, what);
        return static_cast<uint16_t>(Byte(p, 0) | Byte(p, 1) << 8);
    }
    uint32_t U32(const char* what) {
        const char* p = Take(4, what);
        return Byte(p, 0) | Byte(p, 1) << 8 | Byte(p, 2) << 16 | Byte(p, 3) << 24;
    }
    void Skip(size_t count, const char* what) { Take(count, what); }
    size_t Position() const { return position_; }

    // A zero-terminated text of at most kMaxNameBytes bytes with its zero.
    std::string Text(const char* what) {
        const size_t limit = std::min(bytes_.size(), position_ + kMaxNameBytes);
        const size_t end = bytes_.find('\0', position_);
        if (end == std::string::npos || end >= limit)
            Fail(std::string("truncated or unterminated ") + what);
        std::string text = bytes_.substr(position_, end - position_);
        position_ = end + 1;
        return text;
    }

private:
    static uint32_t Byte(const char* p, int i) { return static_cast<uint8_t>(p[i]); }

    const char* Take(size_t count, const char* what) {
        if (position_ > bytes_.size() || bytes_.size() - position_ < count)
            Fail(std::string("truncated: ") + what + " lies past the end of the file");
        const char* p = bytes_.data() + position_;
        position_ += count;
        return p;
    }

    const std::string& bytes_;
    size_t position_;
};

struct Header {
    uint32_t cabinetSize = 0;
    uint32_t filesOffset = 0;
    uint16_t folders = 0;
    uint16_t files = 0;
    uint8_t folderReserve = 0;
    size_t foldersOffset = 0;  // where the folder entries begin
};

Header ReadHeader(const std::string& bytes, uint64_t fileSize) {
    if (bytes.size() < 4 || bytes.compare(0, 4, "MSCF") != 0) Fail("not a cabinet (no \"MSCF\" signature)");
    Cursor c(bytes, 4);
    Header h;
    c.Skip(4, "the header");
    h.cabinetSize = c.U32("the header");
    c.Skip(4, "the header");
    h.filesOffset = c.U32("the header");
    c.Skip(6, "the header");
    h.folders = c.U16("the header");
    h.files = c.U16("the header");
    const uint16_t flags = c.U16("the header");
    c.Skip(4, "the header");
    if (h.cabinetSize > fileSize)
        Fail("truncated: the header gives " + std::to_string(h.cabinetSize) + " bytes, the file has " +
             std::to_string(fileSize));
    // An empty cabinet's entries and data may begin right at its end.
    if (h.cabinetSize < kFixedHeader || h.filesOffset > h.cabinetSize ||
        (h.files > 0 && h.filesOffset == h.cabinetSize))
        Fail("damaged header: sizes out of range");
    if (h.files > 0 && h.folders == 0) Fail("damaged header: files but no folder");
    if (flags & kReservePresent) {
        const uint16_t headerReserve = c.U16("the reserve sizes");
        h.folderReserve = c.U8("the reserve sizes");
        c.Skip(1, "the reserve sizes");
        c.Skip(headerReserve, "the header's reserved area");
    }
    for (uint16_t flag : {kPreviousCabinet, kNextCabinet})
        if (flags & flag) {
            c.Text("name of a neighbouring cabinet");
            c.Text("name of a neighbouring disk");
        }
    h.foldersOffset = c.Position();
    return h;
}

std::vector<uint16_t> ReadFolders(const std::string& bytes, const Header& h) {
    std::vector<uint16_t> types;
    Cursor c(bytes, h.foldersOffset);
    for (uint16_t i = 0; i < h.folders; ++i) {
        const uint32_t dataOffset = c.U32("a folder entry");
        c.Skip(2, "a folder entry");
        types.push_back(c.U16("a folder entry"));
        c.Skip(h.folderReserve, "a folder's reserved area");
        if (dataOffset > h.cabinetSize)
            Fail("damaged folder " + std::to_string(i) + ": its data begins past the cabinet's end");
    }
    return types;
}

CabinetFileEntry ReadFileEntry(Cursor& c, const Header& h) {
    CabinetFileEntry entry;
    entry.size = c.U32("a file entry");
    c.Skip(4, "a file entry");
    entry.folder = c.U16("a file entry");
    c.Skip(4, "a file entry");
    entry.attributes = c.U16("a file entry");
    entry.name = c.Text("file name");
    if (entry.name.empty()) Fail("damaged file entry: empty name");
    if (entry.folder >= kFirstContinuedIndex)
        Fail("file " + entry.name + " continues from or into another cabinet");
    if (entry.folder >= h.folders)
        Fail("damaged file entry " + entry.name + ": folder " + std::to_string(entry.folder) +
             " does not exist");
    return entry;
}

}  // namespace

CabinetDirectory ParseCabinetDirectory(const std::string& bytes, uint64_t fileSize) {
    const Header h = ReadHeader(bytes, fileSize);
    CabinetDirectory directory;
    directory.cabinetSize = h.cabinetSize;
    directory.folderTypes = ReadFolders(bytes, h);
    Cursor c(bytes, h.filesOffset);
    for (uint16_t i = 0; i < h.files; ++i) directory.files.push_back(ReadFileEntry(c, h));
    return directory;
}

CabinetDirectory ReadCabinetDirectory(const std::string& path) {
    // Looked at before it is opened: opening a pipe would wait for a writer.
    std::error_code type;
    if (!std::filesystem::is_regular_file(path, type)) throw CabinetDirectoryError(path + ": cannot read");
    std::ifstream in(path, std::ios::binary | std::ios::ate);
    if (!in) throw CabinetDirectoryError(path + ": cannot read");
    const uint64_t fileSize = static_cast<uint64_t>(in.tellg());
    // The directory lies before the files' data: the header and folders
    // before the file entries, which are at most 16 bytes and a 256-byte name
    // each. Read that much from the header's counts, never the whole file.
    std::string head(static_cast<size_t>(std::min<uint64_t>(fileSize, kFixedHeader)), '\0');
    in.seekg(0);
    in.read(&head[0], static_cast<std::streamsize>(head.size()));
    try {
        const uint64_t filesOffset = head.size() >= 20 ? Cursor(head, 16).U32("the header") : 0;
        const uint64_t files = head.size() >= 30 ? Cursor(head, 28).U16("the header") : 0;
        const uint64_t folders = head.size() >= 28 ? Cursor(head, 26).U16("the header") : 0;
        const uint64_t directoryEnd =
            std::max(filesOffset + files * (kFileEntryFixed + kMaxNameBytes),
                     kFixedHeader + 4 + 65535 + 4 * kMaxNameBytes + folders * (8 + 255));
        // A real directory stays well below this (65535 entries of 272 bytes
        // after the header and folders); a header pointing further is cut
        // here and reported as truncated, never read into memory whole.
        constexpr uint64_t kLargestDirectory = 64ull << 20;
        std::string bytes(static_cast<size_t>(std::min({fileSize, directoryEnd, kLargestDirectory})), '\0');
        in.seekg(0);
        if (!in.read(&bytes[0], static_cast<std::streamsize>(bytes.size())))
            throw CabinetDirectoryError("cannot read");
        return ParseCabinetDirectory(bytes, fileSize);
    } catch (const CabinetDirectoryError& error) {
        throw CabinetDirectoryError(path + ": " + error.what());
    }
}
