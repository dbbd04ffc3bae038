// Rules of Windows file names shared by the readers of names from outside
// (cabinet entries, the paths of a single file's package block). Names are
// read by characters of an ANSI code page (core/CodePage.h).
#pragma once

#include <string>

namespace core {

// Whether a file name names a device (CON, PRN, AUX, NUL, COM1-9, LPT1-9,
// CONIN$, CONOUT$, with or without an extension): opening it opens the device.
bool IsDeviceName(const std::string& name, unsigned codePage);

}  // namespace core
