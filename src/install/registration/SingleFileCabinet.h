// The payload cabinet of a single file (core/PackageBlock.h), copied out of
// it for a repair of a product installed from one: the cabinet does not lie
// beside a single file but inside it.
#pragma once

#include <string>

namespace install::setupcache {

// Copies the bytes of the entry file1.cab of the single file `file` into
// `to` (made anew). False (traced) when the file cannot be read, holds no
// sound package block or no such entry, or `to` cannot be written; whether
// the cabinet is the one installed is the caller's to check.
bool CopyCabinetFromSingleFile(const std::wstring& file, const std::string& to);

}  // namespace install::setupcache
