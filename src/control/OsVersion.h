// This machine's version record and system name, read once per process.
#pragma once

#include "control/OsName.h"

const OsVersionRecord& MachineOsVersion();
const char* MachineOsName();
