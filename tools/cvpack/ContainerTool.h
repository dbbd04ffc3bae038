// Whole-file transforms between a plain project file and its encrypted
// container, with the parameters every project file uses.
#pragma once

#include <string>

// Both throw std::runtime_error carrying the cipher's own message. A failure
// after the output was opened removes the output, so no partial result stays.
void EncryptProjectFile(const std::string& inPath, const std::string& outPath);
void DecryptProjectFile(const std::string& inPath, const std::string& outPath);
