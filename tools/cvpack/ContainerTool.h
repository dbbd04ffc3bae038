// Whole-file transforms between a plain project file and its encrypted
// container, with the parameters every project file uses.
#pragma once

#include <string>

// Decryption writes the plain text without the zero bytes that padded it to
// whole cipher blocks (every trailing zero byte: project files are text).
// Both throw std::runtime_error carrying the cipher's own message. A failure
// after the output was opened removes the output, so no partial result stays.
void EncryptProjectFile(const std::string& inPath, const std::string& outPath);
void DecryptProjectFile(const std::string& inPath, const std::string& outPath);

// The plain text of a container, decrypted in memory the same way and
// without its padding. Throws std::runtime_error: the cipher's message for a
// file that is no project container, "PATH: cannot read" for a missing one.
std::string DecryptProjectText(const std::string& inPath);
