// The directory of a cabinet as cvpack list reads it back: any bytes, as the
// whole file or as the first part of a longer one, are read or refused with
// CabinetDirectoryError; never a read past them.
#include <cstdint>
#include <string>

#include "CabinetDirectory.h"
#include "FuzzInput.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::Input input(data, size);
    const unsigned extra = input.Word();  // the file is this much longer than the bytes given
    const std::string bytes = input.Rest();
    try {
        const CabinetDirectory d = ParseCabinetDirectory(bytes, bytes.size() + extra);
        if (d.cabinetSize > bytes.size() + extra) __builtin_trap();
        for (const CabinetFileEntry& file : d.files) {
            if (file.name.empty() || file.name.size() > 255) __builtin_trap();
            if (file.folder >= d.folderTypes.size()) __builtin_trap();
        }
    } catch (const CabinetDirectoryError&) {
    }
    return 0;
}
