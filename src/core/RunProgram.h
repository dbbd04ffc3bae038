// Starting the programs and documents a project names. A program is started
// by the path given (never looked for along the search path); one that
// cannot be started is ignored, with the failing call in the trace.
#pragma once

#include <string>

namespace core {

// How a program run ended.
struct ProgramRun {
    bool started = false;
    unsigned long exitCode = 0;  // when started and waited for
};

// Web addresses (util::text::IsWebAddress) are opened through the shell and
// not waited for. Anything else is started as a detached process with a
// command line of its quoted name followed by `arguments`, and waited for,
// while this thread keeps dispatching its window messages. Returns whether
// something was started.
bool RunAndWait(const std::string& program, const std::string& arguments);

// As RunAndWait for a program, with its exit code.
ProgramRun RunProgramAndWait(const std::string& program, const std::string& arguments);
// Starts the program as RunProgramAndWait does, without waiting.
bool StartProgram(const std::string& program, const std::string& arguments);
// Starts `program` with `commandLine` as its whole command line (which
// names the program first, as the program expects) and waits for it while
// dispatching messages.
ProgramRun RunCommandLineAndWait(const std::string& program, const std::string& commandLine);

// Opens a document or address with the shell's default action.
bool OpenWithShell(const std::string& target);

}  // namespace core
