#include "PayloadPath.h"

#include "core/CodePage.h"

namespace fs = std::filesystem;

namespace {

constexpr unsigned kUtf8CodePage = 65001;

}  // namespace

fs::path PayloadPath(const fs::path& projectDir, std::string path, bool utf8, unsigned codePage) {
    const unsigned textCodePage = utf8 ? kUtf8CodePage : codePage;
    for (size_t pos = core::codepage::FindFirstOf(path, "\\", textCodePage); pos != std::string::npos;
         pos = core::codepage::FindFirstOf(path, "\\", textCodePage, pos + 1))
        path[pos] = '/';
    // UTF-8 names the same file on every system; plain bytes are the
    // system's own encoding of names.
    return (projectDir / (utf8 ? fs::u8path(path) : fs::path(path))).make_preferred();
}

std::string PathText(const fs::path& path, bool utf8) {
    return utf8 ? path.generic_u8string() : path.generic_string();
}
