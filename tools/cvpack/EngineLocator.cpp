#include "EngineLocator.h"

#ifdef _WIN32
#include <windows.h>
#endif

#include <filesystem>
#include <stdexcept>

namespace fs = std::filesystem;

namespace {

std::string ExistingProgram(const std::string& path, const char* what, const char* namedBy) {
    std::error_code ec;
    if (!fs::is_regular_file(path, ec))
        throw std::runtime_error(path + ": no such " + what + " file (named by " + namedBy + ")");
    return path;
}

std::string ExistingEngine(const std::string& path, const char* namedBy) {
    return ExistingProgram(path, "engine", namedBy);
}

// cvpack lives at <tree>/tools/cvpack/ in a build tree. The engine is built
// in the same tree when that tree is a Windows one, or in the sibling tree
// "win" beside a native one (build/native and build/win).
std::string DefaultEngine(const std::string& toolDirectory) {
    fs::path tree = fs::path(toolDirectory) / ".." / "..";
    for (const fs::path& candidate : {tree / "src" / "setup.exe",
                                      tree / ".." / "win" / "src" / "setup.exe"}) {
        std::error_code ec;
        if (fs::is_regular_file(candidate, ec)) return candidate.lexically_normal().string();
    }
    return "";
}

}  // namespace

std::string LocateEngine(const std::string& option, const char* environment,
                         const std::string& toolDirectory) {
    if (!option.empty()) return ExistingEngine(option, "--engine");
    if (environment && *environment) return ExistingEngine(environment, "CVPACK_ENGINE");
    return DefaultEngine(toolDirectory);
}

std::string LocateUninstaller(const std::string& option, const std::string& enginePath) {
    if (!option.empty()) return ExistingProgram(option, "uninstaller", "--uninstaller");
    if (enginePath.empty()) return "";
    const fs::path beside = fs::path(enginePath).parent_path() / "cvexec.exe";
    std::error_code ec;
    return fs::is_regular_file(beside, ec) ? beside.string() : "";
}

std::string ToolDirectory(const char* argv0) {
    std::error_code ec;
#ifdef _WIN32
    char path[MAX_PATH];
    DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
    if (n > 0 && n < MAX_PATH) return fs::path(path).parent_path().string();
#else
    fs::path self = fs::read_symlink("/proc/self/exe", ec);
    if (!ec) return self.parent_path().string();
#endif
    return fs::absolute(argv0 ? argv0 : ".", ec).parent_path().string();
}
