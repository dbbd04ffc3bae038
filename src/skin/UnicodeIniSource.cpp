#include "skin/UnicodeIniSource.h"

#include "core/TextEncodingRules.h"

namespace skin {

std::string UnicodeIniSource::Read(const std::string& section, const std::string& key,
                                   size_t bufferSize) const {
    if (bufferSize == 0) return "";
    const std::string whole = text_.Read(section, key, std::string::npos);
    return core::encoding::FirstCharacters(whole, bufferSize - 1);
}

}  // namespace skin
