// The single file: a packed folder's setup.exe with every other file of the
// folder appended as a package block (src/core/PackageBlock.h), one
// executable that carries the whole package.
#pragma once

#include <string>

// Writes outFile from the packed folder packageDir: its setup.exe, then the
// block of its other files (sorted by path, byte order) and the trailer. The
// names are taken in `codePage`, as the setup will read them. Throws
// std::runtime_error ("FILE: error: TEXT") when the folder has no engine, the
// engine carries a block or a certificate table already (sign the single
// file, never the engine it is made of), or a path cannot go into a block;
// outFile is then as it was, and no partial file is left.
void WriteSingleFile(const std::string& packageDir, const std::string& outFile, unsigned codePage);

// Checks the engine a single file will be made of before anything is built:
// the same refusals as WriteSingleFile's, naming `enginePath`.
void CheckSingleFileEngine(const std::string& enginePath);

// Whether outFile would lie inside the folder outDir (which the build replaces whole).
bool SingleFileInsideFolder(const std::string& outFile, const std::string& outDir);
