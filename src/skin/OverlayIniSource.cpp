#include "skin/OverlayIniSource.h"

#include <algorithm>
#include <utility>

#include "util/Text.h"

namespace skin {

using util::text::EqualsIgnoringAsciiCase;

OverlayIniSource::OverlayIniSource(const IniSource& base, std::string section,
                                   const std::map<std::string, std::string>& values)
    : base_(base), section_(std::move(section)), values_(values) {}

// Section and key names compare without case, as the profile functions do.
const std::string* OverlayIniSource::Replacement(const std::string& section,
                                                 const std::string& key) const {
    if (values_.empty() || !EqualsIgnoringAsciiCase(section, section_)) return nullptr;
    for (const auto& value : values_)
        if (EqualsIgnoringAsciiCase(value.first, key)) return &value.second;
    return nullptr;
}

std::string OverlayIniSource::Read(const std::string& section, const std::string& key,
                                   size_t bufferSize) const {
    const std::string* replacement = Replacement(section, key);
    if (!replacement) return base_.Read(section, key, bufferSize);
    if (bufferSize == 0) return "";
    return replacement->substr(0, bufferSize - 1);
}

std::vector<std::string> OverlayIniSource::KeyNames(const std::string& section) const {
    std::vector<std::string> names = base_.KeyNames(section);
    if (values_.empty() || !EqualsIgnoringAsciiCase(section, section_)) return names;
    for (const auto& value : values_) {
        const bool present = std::any_of(names.begin(), names.end(), [&](const std::string& n) {
            return EqualsIgnoringAsciiCase(n, value.first);
        });
        if (!present) names.push_back(value.first);
    }
    return names;
}

}  // namespace skin
