#include "core/PackageBlock.h"

#include <cstring>
#include <set>

#include "core/CodePage.h"
#include "core/Crc32c.h"
#include "core/FileNameRules.h"

namespace core::packageblock {

namespace {

void PutLe(std::string& out, uint64_t value, size_t bytes) {
    for (size_t i = 0; i < bytes; ++i) out += static_cast<char>((value >> (8 * i)) & 0xFF);
}

uint64_t GetLe(const unsigned char* p, size_t bytes) {
    uint64_t v = 0;
    for (size_t i = bytes; i-- > 0;) v = v << 8 | p[i];
    return v;
}

bool DecodeTrailer(const unsigned char* p, Trailer& t) {
    if (std::memcmp(p, kMagic, sizeof kMagic) != 0) return false;
    t.version = static_cast<uint32_t>(GetLe(p + 8, 4));
    t.entryCount = static_cast<uint32_t>(GetLe(p + 12, 4));
    t.blockOffset = GetLe(p + 16, 8);
    t.blockLength = GetLe(p + 24, 8);
    t.tableLength = GetLe(p + 32, 8);
    t.checksum = static_cast<uint32_t>(GetLe(p + 40, 4));
    return true;
}

// Why a trailer found at `trailerOffset` does not fit the file.
std::string TrailerProblem(const Trailer& t, uint32_t size, uint64_t trailerOffset, uint64_t imageEnd) {
    if (t.version != kVersion || size != kTrailerSize)
        return "package block of format " + std::to_string(t.version) + ", this setup reads " +
               std::to_string(kVersion);
    if (t.blockOffset != imageEnd) return "the package block does not start where the program ends";
    if (t.blockOffset > trailerOffset || t.blockLength != trailerOffset - t.blockOffset)
        return "the package block's length does not fit the file";
    if (t.entryCount > kMaxEntries) return "too many entries in the package block";
    if (t.tableLength > t.blockLength ||
        t.tableLength < uint64_t(t.entryCount) * (kEntryHeaderSize + 1) ||
        t.tableLength > uint64_t(t.entryCount) * (kEntryHeaderSize + kMaxPathLength))
        return "the package block's table length does not fit its entries";
    return std::string();
}

bool IsForbidden(unsigned char c) { return c < 0x20 || c == 0x7F || std::strchr("<>:\"|?*/", c); }

std::string PartProblem(const std::string& part, unsigned codePage) {
    if (part.empty()) return "an empty part";
    if (part == "." || part == "..") return "a part \"" + part + "\"";
    if (part.back() == '.' || part.back() == ' ') return "a part ending in a dot or a blank";
    if (IsDeviceName(part, codePage)) return "a device name";
    return std::string();
}

std::string Folded(const std::string& path) {
    std::string lower = path;
    for (char& c : lower)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return lower;
}

}  // namespace

std::string EncodeTrailer(const Trailer& t) {
    std::string out(kMagic, sizeof kMagic);
    PutLe(out, t.version, 4);
    PutLe(out, t.entryCount, 4);
    PutLe(out, t.blockOffset, 8);
    PutLe(out, t.blockLength, 8);
    PutLe(out, t.tableLength, 8);
    PutLe(out, t.checksum, 4);
    PutLe(out, kTrailerSize, 4);
    return out;
}

std::string EncodeEntry(const Entry& entry) {
    std::string out;
    PutLe(out, entry.path.size(), 2);
    PutLe(out, entry.size, 8);
    return out + entry.path;
}

uint64_t PaddingAfter(uint64_t end) { return (8 - (end + kTrailerSize) % 8) % 8; }

Found FindBlock(const unsigned char* tail, size_t tailSize, uint64_t dataEnd, uint64_t imageEnd) {
    Found found;
    if (dataEnd == imageEnd) return found;
    found.kind = Found::kDamaged;
    if (dataEnd < imageEnd) {
        found.problem = "the certificate table lies inside the program";
        return found;
    }
    const uint64_t overlay = dataEnd - imageEnd;
    for (size_t padding = 0; padding <= kMaxTrailerPadding; ++padding) {
        if (padding > 0 && (padding > tailSize || tail[tailSize - padding] != 0)) break;
        if (overlay < kTrailerSize + padding || tailSize < kTrailerSize + padding) break;
        const unsigned char* at = tail + tailSize - padding - kTrailerSize;
        if (!DecodeTrailer(at, found.trailer)) continue;
        found.trailerFound = true;
        found.problem = TrailerProblem(found.trailer, static_cast<uint32_t>(GetLe(at + 44, 4)),
                                       dataEnd - padding - kTrailerSize, imageEnd);
        if (found.problem.empty()) found.kind = Found::kBlock;
        return found;
    }
    found.problem = "data after the program, but no package block ends there (the file is cut short or damaged)";
    return found;
}

std::string PathProblem(const std::string& path, unsigned codePage) {
    if (path.empty()) return "an empty path";
    if (path.size() > kMaxPathLength) return "a path longer than " + std::to_string(kMaxPathLength) + " bytes";
    std::string part;
    for (size_t pos = 0, length = 0; pos <= path.size(); pos += length) {
        length = pos < path.size() ? codepage::CharacterLength(path, pos, codePage) : 1;
        const unsigned char c = pos < path.size() ? static_cast<unsigned char>(path[pos]) : '\\';
        if (length == 1 && c == '\\') {
            const std::string problem = PartProblem(part, codePage);
            if (!problem.empty()) return problem;
            part.clear();
            continue;
        }
        if (length == 1 && IsForbidden(c)) return "a character a file name cannot hold";
        part.append(path, pos, length);
    }
    return std::string();
}

std::string ParseTable(const unsigned char* table, size_t size, const Trailer& trailer, unsigned codePage,
                       std::vector<Entry>& entries) {
    entries.clear();
    std::set<std::string> files, folders;
    uint64_t total = size, pos = 0;
    for (uint32_t i = 0; i < trailer.entryCount; ++i) {
        if (size - pos < kEntryHeaderSize) return "the package block's table is cut short";
        Entry entry;
        const uint64_t length = GetLe(table + pos, 2);
        entry.size = GetLe(table + pos + 2, 8);
        pos += kEntryHeaderSize;
        if (size - pos < length) return "the package block's table is cut short";
        entry.path.assign(reinterpret_cast<const char*>(table + pos), static_cast<size_t>(length));
        pos += length;
        const std::string problem = PathProblem(entry.path, codePage);
        if (!problem.empty()) return "entry " + std::to_string(i + 1) + " of the package block: " + problem;
        const std::string folded = Folded(entry.path);
        if (folded == "setup.exe") return "the package block holds a setup.exe of its own";
        if (!files.insert(folded).second) return "the package block holds " + entry.path + " twice";
        for (size_t cut = folded.find('\\'); cut != std::string::npos; cut = folded.find('\\', cut + 1))
            folders.insert(folded.substr(0, cut));
        if (entry.size > trailer.blockLength - total) return "the package block's sizes exceed its length";
        entry.offset = trailer.blockOffset + total;
        total += entry.size;
        entries.push_back(std::move(entry));
    }
    if (pos != size) return "the package block's table is longer than its entries";
    for (const std::string& folder : folders)
        if (files.count(folder)) return "the package block names a file and a folder alike";
    if (trailer.blockLength - total != PaddingAfter(trailer.blockOffset + total))
        return "the package block's sizes do not add up to its length";
    return std::string();
}

namespace {

Outcome Problem(Outcome::Kind kind, const std::string& problem) { return Outcome{kind, problem}; }

}  // namespace

Outcome Unpack(Source& source, const Trailer& trailer, unsigned codePage, Sink& sink, size_t bufferSize) {
    Crc32c sum;
    std::vector<unsigned char> table(static_cast<size_t>(trailer.tableLength));
    if (!source.Read(table.data(), table.size())) return Problem(Outcome::kFailed, "the package block cannot be read");
    sum.Update(table.data(), table.size());
    std::vector<Entry> entries;
    const std::string problem = ParseTable(table.data(), table.size(), trailer, codePage, entries);
    if (!problem.empty()) return Problem(Outcome::kDamaged, problem);
    std::vector<unsigned char> buffer(bufferSize < 4096 ? 4096 : bufferSize);
    uint64_t done = table.size();
    for (const Entry& entry : entries) {
        if (!sink.Open(entry)) return Problem(Outcome::kFailed, "cannot write " + entry.path);
        for (uint64_t left = entry.size; left > 0;) {
            const size_t piece = left < buffer.size() ? static_cast<size_t>(left) : buffer.size();
            if (!source.Read(buffer.data(), piece)) {
                sink.Close();
                return Problem(Outcome::kFailed, "the package block cannot be read");
            }
            sum.Update(buffer.data(), piece);
            if (!sink.Write(buffer.data(), piece)) {
                sink.Close();
                return Problem(Outcome::kFailed, "cannot write " + entry.path);
            }
            left -= piece;
            done += piece;
            if (!sink.Progress(done, trailer.blockLength)) {
                sink.Close();
                return Problem(Outcome::kStopped, "stopped");
            }
        }
        if (!sink.Close()) return Problem(Outcome::kFailed, "cannot write " + entry.path);
    }
    unsigned char padding[8] = {};
    const size_t paddingSize = static_cast<size_t>(trailer.blockLength - done);
    if (!source.Read(padding, paddingSize)) return Problem(Outcome::kFailed, "the package block cannot be read");
    sum.Update(padding, paddingSize);
    if (sum.Value() != trailer.checksum)
        return Problem(Outcome::kDamaged, "the package block's sum does not match: the file is damaged");
    return Outcome();
}

}  // namespace core::packageblock
