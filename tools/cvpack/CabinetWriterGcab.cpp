// Native cabinet writer on libgcab.
#include <libgcab.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <memory>
#include <stdexcept>
#include <vector>

#include "CabinetWriter.h"

namespace {

struct GObjectUnref {
    void operator()(void* object) const { g_object_unref(object); }
};
template <typename T>
using GRef = std::unique_ptr<T, GObjectUnref>;

[[noreturn]] void ThrowGError(const std::string& subject, GError* error) {
    std::string message = subject + ": " + (error ? error->message : "unknown error");
    g_clear_error(&error);
    throw std::runtime_error(message);
}

// Cabinet times are local wall-clock times (the extractor converts them back
// to universal time), while libgcab stores the universal time of day.
void StoreLocalTime(GCabFile* cabFile, GFile* file) {
    GRef<GFileInfo> info(g_file_query_info(file, G_FILE_ATTRIBUTE_TIME_MODIFIED,
                                           G_FILE_QUERY_INFO_NONE, nullptr, nullptr));
    if (!info) return;
    guint64 seconds = g_file_info_get_attribute_uint64(info.get(), G_FILE_ATTRIBUTE_TIME_MODIFIED);
    GDateTime* local = g_date_time_new_from_unix_local(static_cast<gint64>(seconds));
    if (!local) return;
    gcab_file_set_date_time(cabFile, local);
    g_date_time_unref(local);
}

void AddEntry(GCabFolder* folder, const CabinetEntry& entry) {
    GRef<GFile> file(g_file_new_for_path(entry.sourcePath.c_str()));
    GRef<GCabFile> cabFile(gcab_file_new_with_file(entry.storedName.c_str(), file.get()));
    GError* error = nullptr;
    // Only the file's size is queried here; its content is read while writing.
    if (!gcab_folder_add_file(folder, cabFile.get(), FALSE, nullptr, &error))
        ThrowGError(entry.sourcePath, error);
    StoreLocalTime(cabFile.get(), file.get());
}

uint32_t Read16(const std::vector<char>& bytes, size_t at) {
    return static_cast<unsigned char>(bytes[at]) | static_cast<unsigned char>(bytes[at + 1]) << 8;
}

uint32_t Read32(const std::vector<char>& bytes, size_t at) {
    return Read16(bytes, at) | Read16(bytes, at + 2) << 16;
}

// libgcab marks every name holding a byte above 0x7F as UTF-8. Stored names
// are the project's own bytes, in its ANSI code page, as the Windows writer
// stores them: the setup would convert a name so marked, or refuse it when it
// is no UTF-8. The marks are cleared in the file entries of the written
// cabinet (its header: entries' offset at 16, their count at 28; each entry:
// 16 bytes, the attributes at 14, then the name and its NUL).
void ClearUtf8NameMarks(const std::string& cabinetPath) {
    constexpr uint32_t kNameIsUtf8 = 0x80;
    constexpr size_t kEntryFixed = 16, kLongestEntry = kEntryFixed + 256;
    std::fstream file(cabinetPath, std::ios::in | std::ios::out | std::ios::binary);
    std::vector<char> header(36);
    if (!file.read(header.data(), header.size()))
        throw std::runtime_error(cabinetPath + ": cannot read the written cabinet");
    const uint32_t entriesAt = Read32(header, 16);
    const uint32_t count = Read16(header, 28);
    std::vector<char> entries(count * kLongestEntry);
    file.seekg(entriesAt);
    file.read(entries.data(), entries.size());
    entries.resize(static_cast<size_t>(file.gcount()));
    file.clear();
    size_t at = 0;
    for (uint32_t k = 0; k < count && at + kEntryFixed < entries.size(); ++k) {
        const uint32_t attributes = Read16(entries, at + 14);
        entries[at + 14] = static_cast<char>(attributes & ~kNameIsUtf8 & 0xFF);
        size_t end = at + kEntryFixed;
        while (end < entries.size() && entries[end] != '\0') ++end;
        at = end + 1;
    }
    file.seekp(entriesAt);
    file.write(entries.data(), static_cast<std::streamsize>(std::min(at, entries.size())));
    if (!file.flush()) throw std::runtime_error(cabinetPath + ": cannot write the stored names");
}


// Writes one cabinet of one folder (all libgcab writes).
void WriteOneFolder(const std::string& cabinetPath, const std::vector<CabinetEntry>& entries,
                    GCabCompression compression) {
    GRef<GCabCabinet> cabinet(gcab_cabinet_new());
    GRef<GCabFolder> folder(gcab_folder_new(compression));
    for (const CabinetEntry& entry : entries) AddEntry(folder.get(), entry);
    GError* error = nullptr;
    if (!gcab_cabinet_add_folder(cabinet.get(), folder.get(), &error))
        ThrowGError(cabinetPath, error);
    GRef<GFile> out(g_file_new_for_path(cabinetPath.c_str()));
    GRef<GFileOutputStream> stream(g_file_replace(out.get(), nullptr, FALSE,
                                                  G_FILE_CREATE_REPLACE_DESTINATION, nullptr,
                                                  &error));
    if (!stream) ThrowGError(cabinetPath, error);
    if (!gcab_cabinet_write_simple(cabinet.get(), G_OUTPUT_STREAM(stream.get()), nullptr,
                                   nullptr, nullptr, &error))
        ThrowGError(cabinetPath, error);
    if (!g_output_stream_close(G_OUTPUT_STREAM(stream.get()), nullptr, &error))
        ThrowGError(cabinetPath, error);
}

void Write16(std::vector<char>& bytes, size_t at, uint32_t value) {
    bytes[at] = static_cast<char>(value & 0xFF);
    bytes[at + 1] = static_cast<char>((value >> 8) & 0xFF);
}

void Write32(std::vector<char>& bytes, size_t at, uint32_t value) {
    Write16(bytes, at, value & 0xFFFF);
    Write16(bytes, at + 2, value >> 16);
}

constexpr size_t kHeaderSize = 36, kFolderSize = 8, kEntryFixed = 16;

// Where the parts of a one-folder cabinet lie (header, folder, file
// entries, data blocks, in that order, no reserved areas).
struct OneFolderLayout {
    std::vector<char> header, folder, entries;
    uint32_t dataAt = 0, dataSize = 0;
};

OneFolderLayout ReadLayout(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    OneFolderLayout c;
    c.header.resize(kHeaderSize);
    c.folder.resize(kFolderSize);
    in.read(c.header.data(), kHeaderSize);
    in.read(c.folder.data(), kFolderSize);
    if (!in || std::string(c.header.data(), 4) != "MSCF" || Read16(c.header, 26) != 1 || Read16(c.header, 30) != 0)
        throw std::runtime_error(path + ": not a cabinet of one folder");
    const uint32_t entriesAt = Read32(c.header, 16), size = Read32(c.header, 8);
    c.dataAt = Read32(c.folder, 0);
    if (entriesAt != kHeaderSize + kFolderSize || c.dataAt < entriesAt || size < c.dataAt)
        throw std::runtime_error(path + ": unexpected cabinet layout");
    c.entries.resize(c.dataAt - entriesAt);
    in.read(c.entries.data(), static_cast<std::streamsize>(c.entries.size()));
    if (!in) throw std::runtime_error(path + ": cannot read the file entries");
    c.dataSize = size - c.dataAt;
    return c;
}

// Points every file entry at folder `folder`, checking that the entries fill
// their area exactly.
void MoveEntriesToFolder(std::vector<char>& entries, uint32_t count, uint32_t folder, const std::string& path) {
    size_t at = 0;
    for (uint32_t k = 0; k < count; ++k) {
        if (at + kEntryFixed >= entries.size()) throw std::runtime_error(path + ": file entries cut short");
        Write16(entries, at + 8, folder);
        size_t end = at + kEntryFixed;
        while (end < entries.size() && entries[end] != '\0') ++end;
        at = end + 1;
    }
    if (at != entries.size()) throw std::runtime_error(path + ": unexpected file entries");
}

void CopyBytes(std::ifstream& in, std::ofstream& out, uint64_t count) {
    std::vector<char> buffer(1 << 20);
    while (count > 0) {
        const auto chunk = static_cast<std::streamsize>(std::min<uint64_t>(count, buffer.size()));
        if (!in.read(buffer.data(), chunk) || !out.write(buffer.data(), chunk)) break;
        count -= static_cast<uint64_t>(chunk);
    }
}

// Joins two one-folder cabinets into one of two folders, the first's first:
// the data blocks (and their checksums) stay as written, only the offsets
// and the second's folder numbers change.
void JoinCabinets(const std::string& first, const std::string& second, const std::string& cabinetPath) {
    OneFolderLayout a = ReadLayout(first), b = ReadLayout(second);
    const uint32_t filesA = Read16(a.header, 28), filesB = Read16(b.header, 28);
    MoveEntriesToFolder(a.entries, filesA, 0, first);
    MoveEntriesToFolder(b.entries, filesB, 1, second);
    const uint64_t entriesAt = kHeaderSize + 2 * kFolderSize;
    const uint64_t dataA = entriesAt + a.entries.size() + b.entries.size(), dataB = dataA + a.dataSize;
    const uint64_t total = dataB + b.dataSize;
    if (total > 0xFFFFFFFFull || filesA + filesB > 0xFFFF)
        throw std::runtime_error(cabinetPath + ": too large for one cabinet");
    std::vector<char> header = a.header;
    Write32(header, 8, static_cast<uint32_t>(total));
    Write32(header, 16, static_cast<uint32_t>(entriesAt));
    Write16(header, 26, 2);
    Write16(header, 28, filesA + filesB);
    Write32(a.folder, 0, static_cast<uint32_t>(dataA));
    Write32(b.folder, 0, static_cast<uint32_t>(dataB));
    std::ofstream out(cabinetPath, std::ios::binary | std::ios::trunc);
    for (const std::vector<char>* part : {&header, &a.folder, &b.folder, &a.entries, &b.entries})
        out.write(part->data(), static_cast<std::streamsize>(part->size()));
    std::ifstream inA(first, std::ios::binary), inB(second, std::ios::binary);
    inA.seekg(a.dataAt);
    inB.seekg(b.dataAt);
    CopyBytes(inA, out, a.dataSize);
    CopyBytes(inB, out, b.dataSize);
    if (!out.flush() || static_cast<uint64_t>(out.tellp()) != total)
        throw std::runtime_error(cabinetPath + ": cannot write the cabinet");
}

}  // namespace

void WriteCabinet(const std::string& cabinetPath, const std::vector<CabinetEntry>& entries) {
    CheckCabinetEntries(entries);
    const auto split = SplitByCompression(entries);
    if (split.second.empty()) {
        WriteOneFolder(cabinetPath, split.first, GCAB_COMPRESSION_MSZIP);
    } else if (split.first.empty()) {
        WriteOneFolder(cabinetPath, split.second, GCAB_COMPRESSION_NONE);
    } else {
        // libgcab writes cabinets of one folder: each is written apart, then joined.
        const std::string compressed = cabinetPath + ".mszip", stored = cabinetPath + ".stored";
        WriteOneFolder(compressed, split.first, GCAB_COMPRESSION_MSZIP);
        WriteOneFolder(stored, split.second, GCAB_COMPRESSION_NONE);
        JoinCabinets(compressed, stored, cabinetPath);
        std::remove(compressed.c_str());
        std::remove(stored.c_str());
    }
    ClearUtf8NameMarks(cabinetPath);
}
