// Names of the files a cabinet extraction writes: every stored name is
// reduced to its bare file name, so no stored name can reach outside the
// output folder. Names are read by characters of the system's ANSI code page
// (core/CodePage.h): the second byte of a double-byte character is neither a
// separator nor a character a file name may not hold.
// Where each extracted file goes inside the output folder is the working
// folder's rule (core/WorkingFolder.h).
#pragma once

#include <cstddef>
#include <string>

namespace cabinet {

// Text after the last backslash, slash or colon of a stored name.
std::string BareName(const std::string& storedName, unsigned codePage);

// Whether a bare name can be created safely inside the output folder: not
// empty; not made only of dots and spaces (".", "..", "..."); no control
// character and none of < > : " / \ | ? *; not a device name (CON, PRN, AUX,
// NUL, COM1-9, LPT1-9, CONIN$, CONOUT$, with or without an extension).
bool IsSafeOutputName(const std::string& bareName, unsigned codePage);

// The bare name of a stored name, or "" when that name is not safe (the file
// cannot be extracted).
std::string OutputName(const std::string& storedName, unsigned codePage);

// Writes folder followed by name into out (outSize bytes, terminated).
// False, with out set to "", when the whole path does not fit.
bool JoinBounded(char* out, size_t outSize, const char* folder, const char* name);

}  // namespace cabinet
