#include "core/Trace.h"

#include <windows.h>

#include <mutex>

namespace core::trace {
namespace {

constexpr char kEnvironmentName[] = "CVSETUP_TRACE";

std::once_flag g_started;
HANDLE g_file = INVALID_HANDLE_VALUE;
std::string g_path;  // the log's full path, for the programs this one starts

// Every write goes to the end of the file, whoever else appends to it (the
// uninstaller the setup starts, other threads): each line is one write.
HANDLE OpenForAppending(const std::string& path) {
    return CreateFileA(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                       nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
}

// An elevated process (or one whose token cannot be read) takes no file name
// from its environment: a standard user sets the environment the elevated
// setup inherits, and would otherwise choose a file it creates or appends to.
bool RunningElevated() {
    HANDLE token = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token)) return true;
    TOKEN_ELEVATION elevation = {};
    DWORD size = 0;
    const bool read = GetTokenInformation(token, TokenElevation, &elevation, sizeof elevation, &size) != 0;
    CloseHandle(token);
    return !read || elevation.TokenIsElevated != 0;
}

std::string EnvironmentPath() {
    if (RunningElevated()) return std::string();
    char buf[MAX_PATH] = "";
    DWORD n = GetEnvironmentVariableA(kEnvironmentName, buf, sizeof buf);
    return (n > 0 && n < sizeof buf) ? std::string(buf) : std::string();
}

// The command line's log, appended to like any: the setup and the
// uninstaller hand it to each other on their command lines.
DWORD OpenNamed(const std::string& path) {
    g_file = OpenForAppending(path);
    if (g_file == INVALID_HANDLE_VALUE) return GetLastError();
    char full[MAX_PATH] = "";
    const DWORD n = GetFullPathNameA(path.c_str(), sizeof full, full, nullptr);
    if (n > 0 && n < sizeof full) {
        g_path = full;
        SetEnvironmentVariableA(kEnvironmentName, full);
    }
    return 0;
}

}  // namespace

unsigned long Start(const std::string& logFile) {
    DWORD error = 0;
    std::call_once(g_started, [&] {
        if (!logFile.empty()) {
            error = OpenNamed(logFile);
            return;
        }
        const std::string path = EnvironmentPath();
        if (path.empty()) return;
        g_file = OpenForAppending(path);
        if (g_file != INVALID_HANDLE_VALUE) g_path = path;
    });
    return error;
}

std::string LogPath() {
    Start(std::string());
    return g_file != INVALID_HANDLE_VALUE ? g_path : std::string();
}

bool Enabled() {
    Start(std::string());
    return g_file != INVALID_HANDLE_VALUE;
}

void Line(const std::string& text) {
    if (!Enabled()) return;
    const std::string line = text + "\r\n";
    DWORD written = 0;
    WriteFile(g_file, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
}

void Value(const char* name, const std::string& value) {
    if (Enabled()) Line(std::string(name) + "=" + value);
}

std::string SystemErrorText(unsigned long error) {
    char text[512] = "";
    DWORD n = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error,
                             0, text, sizeof text, nullptr);
    while (n > 0 && (text[n - 1] == '\r' || text[n - 1] == '\n' || text[n - 1] == ' ')) text[--n] = '\0';
    return n > 0 ? std::string(text, n) : "error " + std::to_string(error);
}

void Failure(const char* call, unsigned long error) {
    if (Enabled()) Value("failed", std::string(call) + ": " + SystemErrorText(error) + " (" + std::to_string(error) + ")");
}

void Failure(const char* call, const std::string& subject, unsigned long error) {
    if (Enabled()) Failure((std::string(call) + " " + subject).c_str(), error);
}

}  // namespace core::trace
