// An IniSource with some values of one section replaced: a layout read with
// the captions of a language file in place of its own, without touching the
// file on disk.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "skin/IniSource.h"

namespace skin {

class OverlayIniSource : public IniSource {
public:
    // `values` maps key names of `section` to the text read instead of the
    // base's. Both must outlive this object.
    OverlayIniSource(const IniSource& base, std::string section,
                     const std::map<std::string, std::string>& values);

    std::string Read(const std::string& section, const std::string& key,
                     size_t bufferSize) const override;
    // The base's names, then replaced keys the base lacks.
    std::vector<std::string> KeyNames(const std::string& section) const override;

private:
    const std::string* Replacement(const std::string& section, const std::string& key) const;

    const IniSource& base_;
    std::string section_;
    const std::map<std::string, std::string>& values_;
};

}  // namespace skin
