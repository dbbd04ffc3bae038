// Operating-system identification: the name of this machine's system and the
// per-item system masks, from a version record.
#pragma once

#include <cstdint>
#include <string>

namespace control {

struct OsVersionRecord {
    uint32_t major = 0;
    uint32_t minor = 0;
    uint32_t build = 0;     // only the low 16 bits are meaningful
    uint32_t platform = 0;  // 2 = NT platform
};

constexpr uint32_t kPlatformNT = 2;

// True for an NT-family system of version 5.2 or later. The project format
// names no system after 5.2, so every later NT system (Vista to Windows 11)
// is treated as "NET", the newest one it can name: an author who allows or
// limits an item to the NT family then reaches today's machines too.
bool CountsAsNet(const OsVersionRecord& v);

// "98", "98SE", "ME", "NT4", "2000", "XP", "NET" or "" (the last matching
// rule wins; NT systems after 5.2 are "NET").
const char* OsNameFromVersion(const OsVersionRecord& v);

// The name with the version it was taken from, for the trace: "NET (6.1.7601)".
// A name standing in for a later system must not hide which system it was.
std::string OsNameWithVersion(const OsVersionRecord& v);

}  // namespace control
