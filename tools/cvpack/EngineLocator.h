// Finding the programs a build ships: setup.exe beside the project, and the
// uninstaller cvexec.exe inside its cabinet.
#pragma once

#include <string>

// The engine named by the --engine option, else by the CVPACK_ENGINE
// environment value (pass nullptr when unset), else the one a Windows build
// tree beside cvpack's own build tree holds. A named engine that does not
// exist is an error (std::runtime_error); a missing default gives "".
std::string LocateEngine(const std::string& option, const char* environment,
                         const std::string& toolDirectory);

// The uninstaller named by the --uninstaller option, else the cvexec.exe
// beside the engine (a build tree makes both in one folder). A named
// uninstaller that does not exist is an error (std::runtime_error); none
// found gives "".
std::string LocateUninstaller(const std::string& option, const std::string& enginePath);

// The folder of the running cvpack program (argv0 when the system cannot say).
std::string ToolDirectory(const char* argv0);
