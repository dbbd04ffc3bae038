#include "control/OsName.h"

namespace control {

bool CountsAsNet(const OsVersionRecord& v) {
    return v.platform == kPlatformNT && (v.major > 5 || (v.major == 5 && v.minor >= 2));
}

const char* OsNameFromVersion(const OsVersionRecord& v) {
    const uint32_t build = v.build & 0xFFFF;
    const char* name = "";
    if (v.major == 4 && v.minor == 10 && build < 2184) name = "98";
    if (v.major == 4 && v.minor == 10 && build >= 2183) name = "98SE";
    if (v.major == 4 && v.minor == 90) name = "ME";
    if (v.major == 4 && v.minor == 0) name = "NT4";
    if (v.major == 5 && v.minor == 0) name = "2000";
    if (v.platform == kPlatformNT && v.major == 5 && v.minor == 1) name = "XP";
    if (CountsAsNet(v)) name = "NET";
    return name;
}

std::string OsNameWithVersion(const OsVersionRecord& v) {
    const std::string name = OsNameFromVersion(v);
    return (name.empty() ? std::string("unnamed") : name) + " (" + std::to_string(v.major) + "." +
           std::to_string(v.minor) + "." + std::to_string(v.build & 0xFFFF) + ")";
}

}  // namespace control
