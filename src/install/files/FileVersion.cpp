#include "install/files/FileVersion.h"

#include <windows.h>

#include <cstdio>
#include <vector>

namespace install {

namespace {
constexpr size_t kMaxVersionText = 250;
}

std::string ReadFileVersionText(const std::string& path) {
    DWORD handle = 0;
    const DWORD size = GetFileVersionInfoSizeA(path.c_str(), &handle);
    if (size == 0) return std::string();
    std::vector<char> data(size);
    if (!GetFileVersionInfoA(path.c_str(), 0, size, data.data())) return std::string();
    char query[64];
    WORD* translation = nullptr;
    UINT length = 0;
    if (VerQueryValueA(data.data(), "\\VarFileInfo\\Translation",
                       reinterpret_cast<void**>(&translation), &length) &&
        length >= 4) {
        const WORD language = translation[0], codePage = translation[1];
        std::snprintf(query, sizeof query, "\\StringFileInfo\\%02X%02X%02X%02X\\FileVersion",
                      HIBYTE(language), LOBYTE(language), HIBYTE(codePage), LOBYTE(codePage));
    } else {
        std::snprintf(query, sizeof query, "\\StringFileInfo\\%04X04B0\\FileVersion",
                      GetUserDefaultLangID());
    }
    char* text = nullptr;
    if (!VerQueryValueA(data.data(), query, reinterpret_cast<void**>(&text), &length) || !text)
        return std::string();
    std::string version(text, strnlen(text, length));
    if (version.size() > kMaxVersionText) version.resize(kMaxVersionText);
    return version;
}

}  // namespace install
