#include "ProgramRunner.h"

#include <stdexcept>

// The Windows build of cvpack runs no other program: signing is done by the
// Linux build, where osslsigncode is a package of the system.
ProgramResult RunProgram(const std::vector<std::string>& arguments) {
    throw std::runtime_error("cvpack: error: " + arguments.at(0) +
                             " is not run by the Windows build of cvpack: sign with the Linux build");
}
