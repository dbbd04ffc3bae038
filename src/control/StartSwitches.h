// What setup.exe's command line does before the setup runs: starts the
// diagnostic log, records the line, and answers /? and a refused line with
// the usage box. A silent run shows no box; its exit code tells.
#pragma once

#include <optional>
#include <string>

#include "control/CommandLine.h"

namespace control {

// The exit code when the setup ends here (the usage was asked for, or the
// line was refused); nothing when the setup runs.
std::optional<int> ApplySwitches(const std::string& commandLine, const commandline::Switches& switches);

// Records the exit code the setup ends with in the log, and returns it.
int LogExitCode(int code);

}  // namespace control
