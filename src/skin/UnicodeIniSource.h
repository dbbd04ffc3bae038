// A Unicode language file decoded into UTF-8 (core::encoding::DecodeToUtf8)
// and read with the rules of the profile functions (MemoryIniSource); a
// value read into a buffer of n keeps at most n-1 characters, as the wide
// profile functions do, never half a character.
#pragma once

#include "skin/MemoryIniSource.h"

namespace skin {

class UnicodeIniSource : public IniSource {
public:
    explicit UnicodeIniSource(const std::string& utf8) : text_(utf8) {}

    std::string Read(const std::string& section, const std::string& key,
                     size_t bufferSize) const override;
    std::vector<std::string> KeyNames(const std::string& section) const override {
        return text_.KeyNames(section);
    }

private:
    MemoryIniSource text_;
};

}  // namespace skin
