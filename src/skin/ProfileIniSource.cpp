#include "skin/ProfileIniSource.h"

#include <windows.h>

#include <utility>

namespace skin {

namespace {

// The key list of a section may be long (a layout of many lines): the buffer
// grows until the list fits, up to this size.
constexpr DWORD kMaxKeyListSize = 16u * 1024u * 1024u;

}  // namespace

std::string ProfileIniSource::Read(const std::string& section, const std::string& key,
                                   size_t bufferSize) const {
    if (bufferSize == 0) return "";
    std::string buffer(bufferSize, '\0');
    DWORD n = GetPrivateProfileStringA(section.c_str(), key.c_str(), "", &buffer[0],
                                       static_cast<DWORD>(bufferSize), path_.c_str());
    buffer.resize(n < bufferSize ? n : bufferSize - 1);
    return buffer;
}

std::vector<std::string> ProfileIniSource::KeyNames(const std::string& section) const {
    std::vector<std::string> names;
    std::string buffer;
    DWORD n = 0;
    for (DWORD size = 4096; size <= kMaxKeyListSize; size *= 4) {
        buffer.assign(size, '\0');
        n = GetPrivateProfileStringA(section.c_str(), nullptr, "", &buffer[0], size, path_.c_str());
        if (n < size - 2) break;  // size - 2 means the list was cut
    }
    for (size_t pos = 0; pos < n && buffer[pos] != '\0';) {
        size_t end = buffer.find('\0', pos);
        if (end == std::string::npos || end > n) end = n;
        names.push_back(buffer.substr(pos, end - pos));
        pos = end + 1;
    }
    return names;
}

}  // namespace skin
