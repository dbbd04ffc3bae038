#include "install/registration/InstalledSize.h"

#include <windows.h>

#include <algorithm>
#include <cctype>
#include <set>

#include "install/files/FileRules.h"

namespace install {

namespace {

// Size of an existing file; 0 for anything else (a folder, nothing).
uint64_t FileSize(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data) ||
        (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
        return 0;
    return (static_cast<uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

// File names compare regardless of ASCII case; other characters as they are,
// which at worst counts a file twice.
std::string FoldedCase(std::string path) {
    std::transform(path.begin(), path.end(), path.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return path;
}

}  // namespace

uint32_t InstalledKibibytes(InstallContext& context) {
    std::set<std::string> counted;
    uint64_t bytes = 0;
    for (const core::filelist::FileRecord& r : context.FileRecords()) {
        const std::string destination =
            context.Expand(filerules::DestinationPath(r.destDir, r.fileName));
        if (counted.insert(FoldedCase(destination)).second) bytes += FileSize(destination);
    }
    // No sum of real files comes near 2^64 bytes: the rounding cannot overflow.
    const uint64_t kibibytes = (bytes + 1023) / 1024;
    return static_cast<uint32_t>(std::min<uint64_t>(kibibytes, UINT32_MAX));
}

}  // namespace install
