#include "skin/LanguageFile.h"

#include <windows.h>

#include "core/TextEncodingRules.h"
#include "core/Trace.h"
#include "skin/ProfileIniSource.h"
#include "skin/UnicodeIniSource.h"

namespace skin {

namespace {

// The file's bytes, up to one more than a Unicode file may hold (so the
// decoder sees that it is too large); "" when it cannot be read.
std::string ReadBytes(const std::string& path) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return "";
    std::string bytes(core::encoding::kMaxUnicodeFileSize + 1, '\0');
    size_t total = 0;
    DWORD n = 0;
    while (total < bytes.size() &&
           ReadFile(file, &bytes[total], static_cast<DWORD>(bytes.size() - total), &n, nullptr) && n > 0)
        total += n;
    CloseHandle(file);
    bytes.resize(total);
    return bytes;
}

bool HasUnicodeMark(const std::string& path) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    char head[3] = {};
    DWORD n = 0;
    ReadFile(file, head, sizeof head, &n, nullptr);
    CloseHandle(file);
    return core::encoding::DetectEncoding(std::string(head, n)) != core::encoding::TextEncoding::Ansi;
}

}  // namespace

OpenedLanguageFile OpenLanguageFile(const std::string& path) {
    OpenedLanguageFile opened;
    if (!HasUnicodeMark(path)) {
        opened.source = std::make_unique<ProfileIniSource>(path);
        return opened;
    }
    opened.unicode = true;
    const core::encoding::Decoded decoded = core::encoding::DecodeToUtf8(ReadBytes(path));
    if (!decoded.ok) core::trace::Value("language file refused", path + ": " + decoded.error);
    opened.source = std::make_unique<UnicodeIniSource>(decoded.ok ? decoded.utf8 : std::string());
    return opened;
}

}  // namespace skin
