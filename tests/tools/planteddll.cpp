// A library planted beside a program or in its current folder under the name
// of a library the program loads: when it is loaded, it appends the path it
// was loaded from to the file named by the environment variable
// CV_PLANTED_LOG, and the load then fails. Built without the C runtime so
// that it needs nothing but kernel32 (which no test plants).
#include <windows.h>

extern "C" BOOL WINAPI PlantedEntry(HINSTANCE self, DWORD reason, LPVOID) {
    if (reason != DLL_PROCESS_ATTACH) return TRUE;
    char log[MAX_PATH];
    char line[MAX_PATH + 2];
    const DWORD n = GetEnvironmentVariableA("CV_PLANTED_LOG", log, sizeof log);
    if (n > 0 && n < sizeof log) {
        DWORD length = GetModuleFileNameA(self, line, MAX_PATH);
        line[length++] = '\r';
        line[length++] = '\n';
        HANDLE file = CreateFileA(log, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                  OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file != INVALID_HANDLE_VALUE) {
            DWORD written = 0;
            WriteFile(file, line, length, &written, nullptr);
            CloseHandle(file);
        }
    }
    return FALSE;  // a planted library must not run in the program
}
