#include "core/Trace.h"

#include <windows.h>

#include <cstdio>

namespace core::trace {
namespace {

const std::string& TracePath() {
    static const std::string path = [] {
        char buf[MAX_PATH] = "";
        DWORD n = GetEnvironmentVariableA("CVSETUP_TRACE", buf, sizeof buf);
        return (n > 0 && n < sizeof buf) ? std::string(buf) : std::string();
    }();
    return path;
}

}  // namespace

bool Enabled() { return !TracePath().empty(); }

void Line(const std::string& text) {
    if (!Enabled()) return;
    if (FILE* f = std::fopen(TracePath().c_str(), "ab")) {
        std::fprintf(f, "%s\r\n", text.c_str());
        std::fclose(f);
    }
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
