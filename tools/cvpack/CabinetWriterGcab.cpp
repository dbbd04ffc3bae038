// Native cabinet writer on libgcab.
#include <libgcab.h>

#include <algorithm>
#include <cstdint>
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

}  // namespace

void WriteCabinet(const std::string& cabinetPath, const std::vector<CabinetEntry>& entries) {
    CheckCabinetEntries(entries);
    GRef<GCabCabinet> cabinet(gcab_cabinet_new());
    GRef<GCabFolder> folder(gcab_folder_new(GCAB_COMPRESSION_MSZIP));
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
    ClearUtf8NameMarks(cabinetPath);
}
