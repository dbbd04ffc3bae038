// Self-registration of installed libraries. regsvr32.exe is started by its
// full path in the system folder: by its bare name the system would look for
// it in the setup's folder and the current folder first, where a planted
// program of that name (a download folder) would run with the installer's
// rights.
#pragma once

#include <functional>
#include <string>

namespace install {

// Starts "<systemFolder>regsvr32.exe /s "<file>"" with normal priority and a
// normally shown window, and does not wait for it; its outcome is not
// examined. `systemFolder` is the snapshot's, with its trailing backslash;
// when it is empty the system is asked for its folder.
void StartSelfRegistration(const std::string& systemFolder, const std::string& file);

// How a program is started: `application` is the program's full path,
// `commandLine` the whole command line. True when it started.
using ProgramStarter =
    std::function<bool(const std::string& application, const std::string& commandLine)>;

// For tests: self-registration starts its program through `starter` from now
// on (an empty one: through the system again). The setup never calls it.
void SetProgramStarterForTests(ProgramStarter starter);

}  // namespace install
