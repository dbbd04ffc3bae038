// Whether the file a setup opened is the very file it runs from. The setup
// runs elevated from a folder its user may write, where its file can be
// renamed and another put at its name while it runs. The system names the
// running image through its mapping ("\Device\HarddiskVolume3\..." on
// Windows, "\??\C:\..." under Wine), a name that on Windows follows the file
// when it is renamed; an open handle names its file in the NT and the DOS
// forms. A file held open without FILE_SHARE_DELETE cannot be renamed, and
// no two files bear one name at once: when a name of the held file is the
// image's name taken after the open, the two are one file. Portable.
#pragma once

#include <string>
#include <vector>

namespace control::ownimage {

// The Win32 path that opens a mapping's name: "\??\X" as "\\?\X", an NT
// device path "\Device\..." through "\\?\GLOBALROOT"; "" for any other form.
std::wstring OpenablePath(const std::wstring& mappedName);

// Whether `mappedName` (the image's name, taken after the open) is one of
// `heldNames` (the held file's names, as GetFinalPathNameByHandleW gives
// them in any form). "\??\" and "\\?\" prefixes are one; ASCII letters
// compare without case (the loader keeps the case it was started with, the
// file system its own); empty names match nothing.
bool IsHeldFile(const std::wstring& mappedName, const std::vector<std::wstring>& heldNames);

}  // namespace control::ownimage
