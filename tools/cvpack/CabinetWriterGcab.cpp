// Native cabinet writer on libgcab.
#include <libgcab.h>

#include <memory>
#include <stdexcept>

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
}
