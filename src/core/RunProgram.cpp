#include "core/RunProgram.h"

#include <windows.h>
#include <shellapi.h>

#include <vector>

#include "core/MessageWait.h"

namespace core {

namespace {
constexpr size_t kMaxProgramLength = 255;
}

bool RunAndWait(const std::string& program, const std::string& arguments) {
    if (program.compare(0, 4, "http") == 0) {
        HINSTANCE r = ShellExecuteA(nullptr, nullptr, program.c_str(), nullptr, nullptr,
                                    SW_SHOWDEFAULT);
        return reinterpret_cast<INT_PTR>(r) > 32;
    }
    if (program.size() > kMaxProgramLength) return false;
    // CreateProcessA may write into the command line, so it gets its own copy.
    std::vector<char> commandLine(arguments.begin(), arguments.end());
    commandLine.push_back('\0');
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    if (!CreateProcessA(program.c_str(), arguments.empty() ? nullptr : commandLine.data(), nullptr,
                        nullptr, TRUE, DETACHED_PROCESS | NORMAL_PRIORITY_CLASS, nullptr, nullptr,
                        &startup, &process))
        return false;
    WaitDispatchingMessages(process.hProcess);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return true;
}

}  // namespace core
