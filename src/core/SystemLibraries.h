// Where the program takes its libraries from: the system folder only. A setup
// runs from download folders full of other files, so a library planted beside
// it or in the current folder under a name it loads must never be used.
#pragma once

#include <windows.h>

namespace core {

// Called first thing in WinMain: takes the program's and the current folder
// out of the library search (SetDllDirectoryA("")), limits the default
// search of every later load to the system folder (SetDefaultDllDirectories,
// where the system has it) and makes the path search look in the current
// folder last (SetSearchPathMode). A failing call is traced; the start goes on.
void RestrictLibrarySearch();

// Loads `fileName` (a bare name such as "RICHED32.DLL") by its full path in
// the system folder; null (traced) when it cannot be loaded.
HMODULE LoadSystemLibrary(const char* fileName);

}  // namespace core
