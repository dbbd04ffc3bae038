#include "control/OsVersion.h"

#include <windows.h>

namespace control {

namespace {

OsVersionRecord QueryVersion() {
    OsVersionRecord record;
    OSVERSIONINFOA basic = {};
    basic.dwOSVersionInfoSize = sizeof basic;
    if (!GetVersionExA(&basic)) return record;
    record = {basic.dwMajorVersion, basic.dwMinorVersion, basic.dwBuildNumber & 0xFFFF,
              basic.dwPlatformId};
    // Later NT systems answer the extended structure too; the fields kept are the same.
    if (basic.dwPlatformId == VER_PLATFORM_WIN32_NT && basic.dwMajorVersion > 4) {
        OSVERSIONINFOEXA ex = {};
        ex.dwOSVersionInfoSize = sizeof ex;
        if (GetVersionExA(reinterpret_cast<OSVERSIONINFOA*>(&ex)))
            record = {ex.dwMajorVersion, ex.dwMinorVersion, ex.dwBuildNumber & 0xFFFF,
                      ex.dwPlatformId};
    }
    return record;
}

}  // namespace

const OsVersionRecord& MachineOsVersion() {
    static const OsVersionRecord record = QueryVersion();
    return record;
}

const char* MachineOsName() { return OsNameFromVersion(MachineOsVersion()); }

}  // namespace control
