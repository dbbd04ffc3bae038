// An INI text held in memory and read with the rules of the profile
// functions: section and key names case-insensitive, spaces around names and
// values trimmed, one pair of matching quotes removed, ";" a comment only at
// the start of a line, lines without "=" ignored, the first section and the
// first key of a name win.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "skin/IniSource.h"

namespace skin {

class MemoryIniSource : public IniSource {
public:
    explicit MemoryIniSource(const std::string& text);

    std::string Read(const std::string& section, const std::string& key,
                     size_t bufferSize) const override;
    std::vector<std::string> KeyNames(const std::string& section) const override;

private:
    struct Section {
        std::string name;
        std::vector<std::pair<std::string, std::string>> keys;
    };
    const Section* Find(const std::string& section) const;

    std::vector<Section> sections_;
};

}  // namespace skin
