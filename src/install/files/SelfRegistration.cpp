#include "install/files/SelfRegistration.h"

#include <windows.h>

#include "core/Folders.h"
#include "util/Text.h"

namespace install {

namespace {

ProgramStarter& TestStarter() {
    static ProgramStarter starter;
    return starter;
}

// The program is named in full and not searched for.
bool StartProgram(const std::string& application, const std::string& commandLine) {
    std::string line = commandLine;  // the call may write into it
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    if (!CreateProcessA(application.c_str(), &line[0], nullptr, nullptr, FALSE, NORMAL_PRIORITY_CLASS,
                        nullptr, nullptr, &startup, &process))
        return false;
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return true;
}

}  // namespace

void StartSelfRegistration(const std::string& systemFolder, const std::string& file) {
    const std::string folder = systemFolder.empty() ? core::folders::SystemFolder() : systemFolder;
    if (folder.empty()) return;  // never by the bare name
    const std::string program = util::text::WithTrailingBackslash(folder) + "regsvr32.exe";
    const std::string commandLine = "\"" + program + "\" /s \"" + file + "\"";
    if (TestStarter())
        TestStarter()(program, commandLine);
    else
        StartProgram(program, commandLine);
}

void SetProgramStarterForTests(ProgramStarter starter) { TestStarter() = std::move(starter); }

}  // namespace install
