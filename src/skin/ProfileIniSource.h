// A layout file read through the Win32 profile functions
// (GetPrivateProfileStringA), one key per call.
#pragma once

#include "skin/IniSource.h"

namespace skin {

class ProfileIniSource : public IniSource {
public:
    // `path` must be a full path (the profile functions look for bare names
    // in the Windows folder).
    explicit ProfileIniSource(std::string path) : path_(std::move(path)) {}

    std::string Read(const std::string& section, const std::string& key,
                     size_t bufferSize) const override;
    std::vector<std::string> KeyNames(const std::string& section) const override;

private:
    std::string path_;
};

}  // namespace skin
