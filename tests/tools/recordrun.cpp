// recordrun: a stand-in for programs the setup starts (the uninstaller, files
// launched after installing). It appends its command line to a file beside
// itself named after it (cvexec.exe writes cvexec.exe.calls.txt), waits a
// moment, then appends "done", so a test can tell whether the setup waited.
// It exits with the number that ends its name after a "_" (addon_3010.exe
// exits with 3010), or 0.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

int ExitCodeByName(const std::string& path) {
    const std::string name = path.substr(path.find_last_of('\\') + 1);
    const size_t underscore = name.find_last_of('_'), dot = name.find_last_of('.');
    if (underscore == std::string::npos || dot == std::string::npos || dot < underscore) return 0;
    return std::atoi(name.substr(underscore + 1, dot - underscore - 1).c_str());
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    char self[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, self, sizeof self);
    const std::string record = std::string(self) + ".calls.txt";
    // A record that cannot be opened at once (a reader holds it, the machine
    // is slow) is tried again for a few seconds: a lost line would read as a
    // program that never ran.
    auto append = [&record](const std::string& line) {
        for (int attempt = 0; attempt < 100; ++attempt) {
            if (FILE* f = std::fopen(record.c_str(), "ab")) {
                std::fprintf(f, "%s\n", line.c_str());
                std::fclose(f);
                return;
            }
            Sleep(50);
        }
    };
    append(std::string("CMDLINE:") + GetCommandLineA());
    Sleep(1500);
    append("done");
    return ExitCodeByName(self);
}
