// Runs another program for cvpack (the signing tool) without a shell: the
// arguments go to it as they are, so a file name holding blanks, quotes or
// "$(...)" is only ever a file name.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

struct ProgramResult {
    // The program's exit code; -1 when it ended by a signal.
    int exitCode = -1;
    // What it wrote to its standard output and error, interleaved as written;
    // at most kProgramOutputLimit bytes of it are kept.
    std::string output;
};

constexpr size_t kProgramOutputLimit = 64 * 1024;

// Runs `arguments[0]`, looked for along PATH, with `arguments` as its
// argument vector and no input. Throws std::runtime_error when it cannot be
// started (not installed, not executable) or on a Windows build of cvpack,
// which does not run other programs.
ProgramResult RunProgram(const std::vector<std::string>& arguments);
