// Where layout values come from: an INI-syntax file read key by key. The page
// reads through the Win32 profile functions (ProfileIniSource); the native
// tests read an in-memory text with the same rules (MemoryIniSource).
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace skin {

class IniSource {
public:
    virtual ~IniSource() = default;

    // The value of `key` in `section` as read into a buffer of `bufferSize`
    // bytes: at most bufferSize-1 characters; the empty text when absent.
    virtual std::string Read(const std::string& section, const std::string& key,
                             size_t bufferSize) const = 0;

    // The names of the keys present in `section`, in file order.
    virtual std::vector<std::string> KeyNames(const std::string& section) const = 0;
};

}  // namespace skin
