// Finding the setup.exe that a build ships beside the project.
#pragma once

#include <string>

// The engine named by the --engine option, else by the CVPACK_ENGINE
// environment value (pass nullptr when unset), else the one a Windows build
// tree beside cvpack's own build tree holds. A named engine that does not
// exist is an error (std::runtime_error); a missing default gives "".
std::string LocateEngine(const std::string& option, const char* environment,
                         const std::string& toolDirectory);

// The folder of the running cvpack program (argv0 when the system cannot say).
std::string ToolDirectory(const char* argv0);
