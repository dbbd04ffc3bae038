// This machine's version record and system name, read once per process.
#pragma once

#include "control/OsName.h"

namespace control {

const OsVersionRecord& MachineOsVersion();
const char* MachineOsName();

}  // namespace control
