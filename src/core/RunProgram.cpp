#include "core/RunProgram.h"

#include <windows.h>
#include <shellapi.h>

#include <vector>

#include "core/MessageWait.h"
#include "core/Trace.h"
#include "util/Text.h"

namespace core {

namespace {

constexpr size_t kMaxProgramLength = 255;

// A detached process that inherits handles; its process handle, or null.
HANDLE Start(const std::string& program, const std::string& commandLine) {
    if (program.size() > kMaxProgramLength) {
        core::trace::Value("program path too long", program);
        return nullptr;
    }
    // CreateProcessA may write into the command line, so it gets its own copy.
    std::vector<char> writable(commandLine.begin(), commandLine.end());
    writable.push_back('\0');
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    if (!CreateProcessA(program.c_str(), commandLine.empty() ? nullptr : writable.data(), nullptr,
                        nullptr, TRUE, DETACHED_PROCESS | NORMAL_PRIORITY_CLASS, nullptr, nullptr,
                        &startup, &process)) {
        core::trace::Failure("CreateProcessA", program, GetLastError());
        return nullptr;
    }
    CloseHandle(process.hThread);
    return process.hProcess;
}

ProgramRun WaitForEnd(HANDLE process) {
    ProgramRun run;
    if (!process) return run;
    run.started = true;
    WaitDispatchingMessages(process);
    DWORD code = 0;
    if (GetExitCodeProcess(process, &code)) run.exitCode = code;
    CloseHandle(process);
    return run;
}

}  // namespace

// The program's own name comes first, quoted, as every program expects its
// command line: a C runtime takes the first word for its name, so without it
// the program would miss its first switch (a "/quiet" and it shows its window).
std::string CommandLineOf(const std::string& program, const std::string& arguments) {
    return "\"" + program + "\"" + (arguments.empty() ? std::string() : " " + arguments);
}

bool RunAndWait(const std::string& program, const std::string& arguments) {
    if (util::text::IsWebAddress(program)) return OpenWithShell(program);
    return RunProgramAndWait(program, arguments).started;
}

ProgramRun RunProgramAndWait(const std::string& program, const std::string& arguments) {
    return WaitForEnd(Start(program, CommandLineOf(program, arguments)));
}

bool StartProgram(const std::string& program, const std::string& arguments) {
    HANDLE process = Start(program, CommandLineOf(program, arguments));
    if (!process) return false;
    CloseHandle(process);
    return true;
}

ProgramRun RunCommandLineAndWait(const std::string& program, const std::string& commandLine) {
    return WaitForEnd(Start(program, commandLine));
}

bool OpenWithShell(const std::string& target) {
    HINSTANCE r = ShellExecuteA(nullptr, nullptr, target.c_str(), nullptr, nullptr, SW_SHOWDEFAULT);
    if (reinterpret_cast<INT_PTR>(r) > 32) return true;
    core::trace::Failure("ShellExecuteA", target, GetLastError());
    return false;
}

}  // namespace core
