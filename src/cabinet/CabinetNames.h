// Names of the files a cabinet extraction writes: every stored name is
// reduced to its bare file name, so no stored name can reach outside the
// output folder.
//
// Payload files, stored as "F<number>_<name>", are written into sub-folders
// of the output folder, kPayloadGroupSize numbers to a sub-folder
// ("cvp<number / kPayloadGroupSize>"); every other file lies directly in the
// output folder. Creating a file costs a search of its whole folder under
// some systems, so thousands of payload files in one folder made the
// extraction's time grow with the square of their count. Whoever reads an
// extracted file by its name goes through ExtractedFilePath.
#pragma once

#include <cstddef>
#include <string>

namespace cabinet {

// Text after the last backslash, slash or colon of a stored name.
std::string BareName(const std::string& storedName);

// Whether a bare name can be created safely inside the output folder: not
// empty; not made only of dots and spaces (".", "..", "..."); no control
// character and none of < > : " / \ | ? *; not a device name (CON, PRN, AUX,
// NUL, COM1-9, LPT1-9, CONIN$, CONOUT$, with or without an extension).
bool IsSafeOutputName(const std::string& bareName);

// The bare name of a stored name, or "" when that name is not safe (the file
// is then skipped).
std::string OutputName(const std::string& storedName);

// Payload files per sub-folder of the output folder.
constexpr unsigned kPayloadGroupSize = 128;

// Where a file of that bare name lies, relative to the output folder: the
// name itself, or "cvp<group>\<name>" for a payload file.
std::string ExtractedRelativePath(const std::string& bareName);

// Whether a name is (regardless of case) that of a payload sub-folder,
// "cvp<digits>": a file of that name cannot be extracted beside them.
bool IsPayloadGroupName(const std::string& name);

// outputFolder (ending with a backslash) + ExtractedRelativePath(bareName).
std::string ExtractedFilePath(const std::string& outputFolder, const std::string& bareName);

// Writes folder followed by name into out (outSize bytes, terminated).
// False, with out set to "", when the whole path does not fit.
bool JoinBounded(char* out, size_t outSize, const char* folder, const char* name);

}  // namespace cabinet
