#include "install/registration/SetupCacheRules.h"

namespace install::setupcache {

std::string SingleFileNameOf(const std::string& record) {
    const std::string name = record.substr(0, record.find_first_of("\r\n"));
    if (name.empty() || name.size() > 255 || name == "." || name == "..") return std::string();
    for (const char c : name)
        if (static_cast<unsigned char>(c) < 0x20 || c == '\\' || c == '/' || c == ':') return std::string();
    return name;
}

}  // namespace install::setupcache
