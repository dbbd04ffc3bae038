// A tiny library whose only content is its version resource (see versioned.rc),
// used to test the version decision for libraries.
#include <windows.h>

BOOL WINAPI DllMain(HINSTANCE, DWORD, LPVOID) { return TRUE; }
