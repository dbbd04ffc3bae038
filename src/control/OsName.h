// Operating-system identification: the name of this machine's system and the
// per-item system masks, from a version record.
#pragma once

#include <cstdint>

namespace control {

struct OsVersionRecord {
    uint32_t major = 0;
    uint32_t minor = 0;
    uint32_t build = 0;     // only the low 16 bits are meaningful
    uint32_t platform = 0;  // 2 = NT platform
};

constexpr uint32_t kPlatformNT = 2;

// "98", "98SE", "ME", "NT4", "2000", "XP", "NET" or "" (the last matching rule wins).
const char* OsNameFromVersion(const OsVersionRecord& v);

}  // namespace control
