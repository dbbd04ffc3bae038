// data.inf: any text as its file records, in every kind of code page, and the
// names and folders the installer derives from them.
#include <cstdint>
#include <string>

#include "FuzzInput.h"
#include "core/FileList.h"
#include "install/files/FileRules.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::Input input(data, size);
    const unsigned codePage = fuzz::CodePageOf(input.Byte());
    const std::string text = input.Rest();
    const auto records = core::filelist::ParseFileList(text, codePage);
    size_t index = 0;
    for (const auto& r : records) {
        if (r.fileName.size() > r.sourceLine.size()) __builtin_trap();
        core::filelist::IsWebItem(r.sourceLine);
        core::filelist::StoredPath("C:\\work\\", index++, r.fileName);
        const std::string dir = install::filerules::RemoveDestinationComputer(r.destDir);
        install::filerules::DestinationPath(dir, r.fileName);
        install::filerules::ParseWebItem(r.sourceLine);
        install::filerules::IsVersionedLibrary(r.sourceLine);
    }
    core::filelist::DistinctDirectories(records);
    return 0;
}
