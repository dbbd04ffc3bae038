// recordrun: a stand-in for programs the setup starts (the uninstaller, files
// launched after installing). It appends its command line to a file beside
// itself named after it (cvexec.exe writes cvexec.exe.calls.txt), waits a
// moment, then appends "done", so a test can tell whether the setup waited.
#include <windows.h>

#include <cstdio>
#include <string>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    char self[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, self, sizeof self);
    const std::string record = std::string(self) + ".calls.txt";
    auto append = [&record](const std::string& line) {
        if (FILE* f = std::fopen(record.c_str(), "ab")) {
            std::fprintf(f, "%s\n", line.c_str());
            std::fclose(f);
        }
    };
    append(std::string("CMDLINE:") + GetCommandLineA());
    Sleep(1500);
    append("done");
    return 0;
}
