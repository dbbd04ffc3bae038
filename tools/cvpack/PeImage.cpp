#include "PeImage.h"

#include <algorithm>
#include <stdexcept>

#include "LittleEndian.h"

namespace pe {

namespace {

constexpr uint16_t kMachineAmd64 = 0x8664;
constexpr uint16_t kMagicPe32 = 0x10B;
constexpr uint16_t kMagicPe32Plus = 0x20B;
constexpr size_t kSectionHeader = 40;
constexpr size_t kSymbolSize = 18;
// Data directories by index.
constexpr int kResourceDirectory = 2;
constexpr int kCertificateDirectory = 4;
constexpr int kRelocationDirectory = 5;
constexpr int kDebugDirectory = 6;
// Offsets in the PE32+ optional header.
constexpr size_t kSizeOfInitializedData = 8;
constexpr size_t kSectionAlignment = 32;
constexpr size_t kFileAlignment = 36;
constexpr size_t kSizeOfImage = 56;
constexpr size_t kCheckSum = 64;
constexpr size_t kDirectoryCount = 108;
constexpr size_t kDirectories = 112;

[[noreturn]] void Refuse(const std::string& why) { throw std::runtime_error(why); }

bool PowerOfTwo(uint32_t n) { return n && !(n & (n - 1)); }

}  // namespace

Image::Image(std::string file) : file_(std::move(file)) {
    try {
        ReadHeaders();
        CheckUnsigned();
        CheckLayout();
        CheckDirectories();
    } catch (const le::Truncated&) {
        Refuse("truncated: the program's headers end early");
    }
}

void Image::ReadHeaders() {
    if (file_.size() < 64 || file_.compare(0, 2, "MZ") != 0) Refuse("not a Windows program (no MZ header)");
    peOffset_ = le::U32(file_, 0x3C);
    if (peOffset_ % 8) Refuse("unexpected layout: the PE header is not aligned");
    if (le::U32(file_, peOffset_) != 0x4550) Refuse("not a Windows program (no PE signature)");
    const size_t coff = peOffset_ + 4;
    const uint16_t machine = le::U16(file_, coff);
    const size_t sectionCount = le::U16(file_, coff + 2);
    symbolTable_ = le::U32(file_, coff + 8);
    symbolCount_ = le::U32(file_, coff + 12);
    const size_t optionalSize = le::U16(file_, coff + 16);
    optional_ = coff + 20;
    const uint16_t magic = le::U16(file_, optional_);
    if (magic == kMagicPe32) Refuse("a 32-bit program (PE32): only the 64-bit engine (PE32+) can be stamped");
    if (magic != kMagicPe32Plus || machine != kMachineAmd64) Refuse("not a 64-bit x86-64 program (PE32+)");
    if (optionalSize < kDirectories) Refuse("truncated: the optional header is too short");
    sectionAlignment_ = le::U32(file_, optional_ + kSectionAlignment);
    fileAlignment_ = le::U32(file_, optional_ + kFileAlignment);
    directoryCount_ = le::U32(file_, optional_ + kDirectoryCount);
    if (directoryCount_ > 16 || kDirectories + directoryCount_ * 8 > optionalSize)
        Refuse("unexpected layout: the optional header holds " + std::to_string(directoryCount_) + " directories");
    if (!PowerOfTwo(fileAlignment_) || !PowerOfTwo(sectionAlignment_) || fileAlignment_ > sectionAlignment_)
        Refuse("unexpected layout: alignments " + std::to_string(fileAlignment_) + "/" +
               std::to_string(sectionAlignment_));
    sectionTable_ = optional_ + optionalSize;
    if (sectionCount == 0) Refuse("unexpected layout: no sections");
    for (size_t i = 0; i < sectionCount; ++i) {
        const size_t at = sectionTable_ + i * kSectionHeader;
        if (!le::Fits(file_, at, kSectionHeader)) Refuse("truncated: the section table ends early");
        Section s;
        s.name = file_.substr(at, 8);
        s.name = s.name.substr(0, s.name.find('\0'));
        s.virtualSize = le::U32(file_, at + 8);
        s.virtualAddress = le::U32(file_, at + 12);
        s.rawSize = le::U32(file_, at + 16);
        s.rawPointer = le::U32(file_, at + 20);
        if (s.rawSize && !le::Fits(file_, s.rawPointer, s.rawSize))
            Refuse("truncated: section " + s.name + " ends beyond the file");
        sections_.push_back(s);
    }
}

uint32_t Image::Directory(int index, uint32_t& size) const {
    size = 0;
    if (static_cast<uint32_t>(index) >= directoryCount_) return 0;
    size = le::U32(file_, optional_ + kDirectories + index * 8 + 4);
    return le::U32(file_, optional_ + kDirectories + index * 8);
}

// The resource section is the one the resource directory starts; the
// sections lie in ascending order in memory and in the file.
void Image::CheckLayout() {
    uint32_t size = 0;
    const uint32_t rva = Directory(kResourceDirectory, size);
    bool found = false;
    for (size_t i = 0; i < sections_.size(); ++i) {
        const Section& s = sections_[i];
        if (s.virtualAddress % sectionAlignment_ || (s.rawSize && s.rawPointer % fileAlignment_))
            Refuse("unexpected layout: section " + s.name + " is not aligned");
        if (i > 0) {
            const Section& before = sections_[i - 1];
            if (s.virtualAddress < before.virtualAddress + le::AlignUp(before.virtualSize, sectionAlignment_))
                Refuse("unexpected layout: section " + s.name + " overlaps the one before it in memory");
        }
        if (rva && s.virtualAddress == rva && s.name == ".rsrc") {
            found = true;
            resource_ = i;
        }
    }
    if (!found) Refuse("no resource section (.rsrc) named by the resource directory");
    const Section& rsrc = sections_[resource_];
    if (size > rsrc.virtualSize || rsrc.rawSize == 0) Refuse("unexpected layout: the resource directory exceeds .rsrc");
    const size_t rsrcEnd = size_t(rsrc.rawPointer) + rsrc.rawSize;
    size_t rawEnd = rsrcEnd;
    for (size_t i = 0; i < sections_.size(); ++i) {
        const Section& s = sections_[i];
        if (!s.rawSize || i == resource_) continue;
        if (i < resource_ && size_t(s.rawPointer) + s.rawSize > rsrc.rawPointer)
            Refuse("unexpected layout: section " + s.name + " lies after .rsrc in the file");
        if (i > resource_) {
            if (s.rawPointer < rawEnd) Refuse("unexpected layout: section " + s.name + " is out of order in the file");
            rawEnd = size_t(s.rawPointer) + s.rawSize;
        }
    }
    if (EndOfData() != file_.size())
        Refuse("appended data: " + std::to_string(file_.size() - std::min(file_.size(), EndOfData())) +
               " bytes follow the program's last part");
}

// Where the program ends: after its last section, or after the symbol
// table and its string table.
size_t Image::EndOfData() const {
    size_t end = 0;
    for (const Section& s : sections_)
        if (s.rawSize) end = std::max(end, size_t(s.rawPointer) + s.rawSize);
    if (symbolTable_) {
        const size_t strings = size_t(symbolTable_) + size_t(symbolCount_) * kSymbolSize;
        if (symbolTable_ < end) Refuse("unexpected layout: the symbol table overlaps the sections");
        if (!le::Fits(file_, strings, 4)) Refuse("truncated: the symbol table ends beyond the file");
        end = strings + le::U32(file_, strings);
        if (end > file_.size()) Refuse("truncated: the symbol names end beyond the file");
    }
    return end;
}

// A signature would no longer match the stamped program; it is appended
// data too, but this is what the author needs to know.
void Image::CheckUnsigned() const {
    uint32_t size = 0;
    if (Directory(kCertificateDirectory, size) || size)
        Refuse("carries a certificate table (signed): stamp the engine before signing it");
}

// Only the base relocations may be named in the sections that move; a
// debug directory holds file positions this tool would have to change.
void Image::CheckDirectories() const {
    uint32_t size = 0;
    if (Directory(kDebugDirectory, size) || size) Refuse("unexpected layout: a debug directory");
    const Section& rsrc = sections_[resource_];
    for (uint32_t d = 0; d < directoryCount_; ++d) {
        const uint32_t rva = Directory(static_cast<int>(d), size);
        if (!rva || d == kResourceDirectory) continue;
        if (d == kRelocationDirectory) {
            if (rva >= rsrc.virtualAddress && rva < rsrc.virtualAddress + le::AlignUp(rsrc.virtualSize, sectionAlignment_))
                Refuse("unexpected layout: the base relocations lie in .rsrc");
            continue;
        }
        if (rva >= rsrc.virtualAddress)
            Refuse("unexpected layout: data directory " + std::to_string(d) + " lies in or after .rsrc");
    }
}

std::string Image::ResourceBytes() const {
    const Section& rsrc = sections_[resource_];
    return file_.substr(rsrc.rawPointer, std::min(rsrc.rawSize, rsrc.virtualSize));
}

// Where what follows the resource section begins in the file: the next
// section's data, the symbol table, or the file's end.
size_t Image::FollowingData() const {
    size_t follow = file_.size();
    for (size_t i = resource_ + 1; i < sections_.size(); ++i)
        if (sections_[i].rawSize) follow = std::min<size_t>(follow, sections_[i].rawPointer);
    if (symbolTable_) follow = std::min<size_t>(follow, symbolTable_);
    return follow;
}

std::string Image::WithResources(const std::string& resources) const {
    const Section& rsrc = sections_[resource_];
    // What follows moves up only as far as the new section needs, by whole
    // alignment units; a smaller section leaves a gap of zero bytes.
    const size_t follow = FollowingData();
    const size_t newRaw = le::AlignUp(resources.size(), fileAlignment_);
    const size_t newEnd = size_t(rsrc.rawPointer) + newRaw;
    const size_t rawShift = newEnd > follow ? le::AlignUp(newEnd - follow, fileAlignment_) : 0;
    const uint64_t newSpanEnd = rsrc.virtualAddress + le::AlignUp(resources.size(), sectionAlignment_);
    uint64_t nextRva = newSpanEnd;
    if (resource_ + 1 < sections_.size()) nextRva = sections_[resource_ + 1].virtualAddress;
    const uint64_t memoryShift = newSpanEnd > nextRva ? newSpanEnd - nextRva : 0;
    const uint64_t imageSize = std::max<uint64_t>(le::U32(file_, optional_ + kSizeOfImage) + memoryShift, newSpanEnd);
    if (file_.size() + rawShift > 0xFFFFFFFFu || imageSize > 0xFFFFFFFFu)
        Refuse("the stamped program would exceed 4 GiB");

    std::string out = file_.substr(0, rsrc.rawPointer) + resources;
    out.resize(follow + rawShift, '\0');
    out += file_.substr(follow);

    const size_t header = sectionTable_ + resource_ * kSectionHeader;
    le::Put32(out, header + 8, static_cast<uint32_t>(resources.size()));
    le::Put32(out, header + 16, static_cast<uint32_t>(newRaw));
    for (size_t i = resource_ + 1; i < sections_.size(); ++i) {
        const size_t at = sectionTable_ + i * kSectionHeader;
        le::Put32(out, at + 12, static_cast<uint32_t>(sections_[i].virtualAddress + memoryShift));
        if (sections_[i].rawSize) le::Put32(out, at + 20, static_cast<uint32_t>(sections_[i].rawPointer + rawShift));
    }
    if (symbolTable_) le::Put32(out, peOffset_ + 4 + 8, static_cast<uint32_t>(symbolTable_ + rawShift));
    le::Put32(out, optional_ + kDirectories + kResourceDirectory * 8 + 4, static_cast<uint32_t>(resources.size()));
    uint32_t size = 0;
    if (const uint32_t relocations = Directory(kRelocationDirectory, size); relocations > rsrc.virtualAddress)
        le::Put32(out, optional_ + kDirectories + kRelocationDirectory * 8,
                  static_cast<uint32_t>(relocations + memoryShift));
    le::Put32(out, optional_ + kSizeOfImage, static_cast<uint32_t>(imageSize));
    le::Put32(out, optional_ + kSizeOfInitializedData,
              static_cast<uint32_t>(le::U32(file_, optional_ + kSizeOfInitializedData) - rsrc.rawSize + newRaw));
    le::Put32(out, optional_ + kCheckSum, Checksum(out, optional_ + kCheckSum));
    return out;
}

uint32_t Checksum(const std::string& file, size_t checksumOffset) {
    uint64_t sum = 0;
    for (size_t i = 0; i < file.size(); i += 2) {
        if (i >= checksumOffset && i < checksumOffset + 4) continue;
        uint32_t word = static_cast<unsigned char>(file[i]);
        if (i + 1 < file.size()) word |= uint32_t(static_cast<unsigned char>(file[i + 1])) << 8;
        sum += word;
        sum = (sum & 0xFFFF) + (sum >> 16);
    }
    sum = (sum & 0xFFFF) + (sum >> 16);
    return static_cast<uint32_t>(sum + file.size());
}

}  // namespace pe
