// Starting the programs and documents a project names.
#pragma once

#include <string>

namespace core {

// Web addresses (texts starting with "http") are opened through the shell and
// not waited for. Anything else is started as a detached process with
// `arguments` as its whole command line (none when empty) and waited for,
// while this thread keeps dispatching its window messages. A program that
// cannot be started is ignored. Returns whether something was started.
bool RunAndWait(const std::string& program, const std::string& arguments);

}  // namespace core
