#include "core/SystemLibraries.h"

#include <string>

#include "core/Trace.h"

namespace core {

namespace {

// Values of the headers for Windows 8 and later, which the build's target
// version (Windows 7) does not declare.
constexpr DWORD kSearchSystem32 = 0x00000800;            // LOAD_LIBRARY_SEARCH_SYSTEM32
constexpr DWORD kSafeSearchPermanent = 0x00000001 | 0x00008000;  // BASE_SEARCH_PATH_ENABLE_SAFE_SEARCHMODE | _PERMANENT

template <typename Function>
Function KernelFunction(const char* name) {
    HMODULE kernel = GetModuleHandleA("kernel32.dll");
    return kernel ? reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(kernel, name)))
                  : nullptr;
}

}  // namespace

void RestrictLibrarySearch() {
    if (!SetDllDirectoryA("")) trace::Failure("SetDllDirectoryA", GetLastError());
    using SetDefaultDirs = BOOL(WINAPI*)(DWORD);
    if (auto setDefault = KernelFunction<SetDefaultDirs>("SetDefaultDllDirectories")) {
        if (!setDefault(kSearchSystem32)) trace::Failure("SetDefaultDllDirectories", GetLastError());
    } else {
        trace::Line("SetDefaultDllDirectories: not on this system");
    }
    using SetSearchMode = BOOL(WINAPI*)(DWORD);
    if (auto setMode = KernelFunction<SetSearchMode>("SetSearchPathMode")) {
        if (!setMode(kSafeSearchPermanent)) trace::Failure("SetSearchPathMode", GetLastError());
    }
}

HMODULE LoadSystemLibrary(const char* fileName) {
    char folder[MAX_PATH];
    const UINT n = GetSystemDirectoryA(folder, sizeof folder);
    if (n == 0 || n >= sizeof folder) {
        trace::Failure("GetSystemDirectoryA", fileName, GetLastError());
        return nullptr;
    }
    const std::string path = std::string(folder) + "\\" + fileName;
    HMODULE module = LoadLibraryExA(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
    if (!module) trace::Failure("LoadLibraryExA", path, GetLastError());
    return module;
}

}  // namespace core
