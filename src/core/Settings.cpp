#include "core/Settings.h"

#include <windows.h>

#include <vector>

namespace core::settings {

std::string Read(const std::string& file, const char* section, const char* key, int bufferSize) {
    if (bufferSize < 1) return std::string();
    std::vector<char> buf(static_cast<size_t>(bufferSize), '\0');
    DWORD n = GetPrivateProfileStringA(section, key, "", buf.data(), static_cast<DWORD>(bufferSize),
                                       file.c_str());
    return std::string(buf.data(), n < static_cast<DWORD>(bufferSize) ? n : bufferSize - 1);
}

bool ReadYes(const std::string& file, const char* section, const char* key, int bufferSize) {
    return IsYes(Read(file, section, key, bufferSize).c_str());
}

bool ReadNotNo(const std::string& file, const char* section, const char* key, int bufferSize) {
    return IsNotNo(Read(file, section, key, bufferSize).c_str());
}

int ReadNumber(const std::string& file, const char* section, const char* key, int bufferSize) {
    return ParseNumber(Read(file, section, key, bufferSize).c_str());
}

int ReadListCount(const std::string& file, const char* section, const char* totalKey) {
    int n = ReadNumber(file, section, totalKey);
    return n < 0 ? 0 : n;
}

int ReadInstallListCount(const std::string& file, const char* section, int bufferSize) {
    const int n = ReadNumber(file, section, core::keys::kTotal, bufferSize);
    return n < 0 ? 0 : n > kMaxInstallListItems ? kMaxInstallListItems : n;
}

std::string ReadListField(const std::string& file, const char* section, const char* letter,
                          int index, int bufferSize) {
    return Read(file, section, ListKey(letter, index).c_str(), bufferSize);
}

}  // namespace core::settings
