// fileaction.dll: a library for file actions. Each function appends
// "<function>:<buffer as received>" to a file beside the library named after
// it (fileaction.dll.calls.txt), so a test sees what it was called with.
//   Rewrite  puts "rewritten " and what it received into the buffer, within
//            the 255 bytes the setup gives; returns 0
//   Abandon  returns 1: the setup is to be abandoned
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>

namespace {

HMODULE g_self = nullptr;

void Record(const char* function, const char* buffer) {
    char path[MAX_PATH] = "";
    GetModuleFileNameA(g_self, path, sizeof path);
    if (FILE* f = std::fopen((std::string(path) + ".calls.txt").c_str(), "ab")) {
        std::fprintf(f, "%s:%s\n", function, buffer);
        std::fclose(f);
    }
}

}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) g_self = instance;
    return TRUE;
}

extern "C" __declspec(dllexport) int WINAPI Rewrite(char* buffer) {
    Record("Rewrite", buffer);
    const std::string text = "rewritten " + std::string(buffer);
    const size_t size = 255;
    std::memset(buffer, 'x', size);  // every byte the setup gave is writable
    std::snprintf(buffer, size, "%s", text.c_str());
    return 0;
}

extern "C" __declspec(dllexport) int WINAPI Abandon(char* buffer) {
    Record("Abandon", buffer);
    return 1;
}
