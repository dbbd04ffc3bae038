// recordrun: a stand-in for programs the setup starts (the uninstaller, files
// launched after installing). It appends its command line to a file beside
// itself named after it (cvexec.exe writes cvexec.exe.calls.txt), waits a
// moment, then appends "done", so a test can tell whether the setup waited.
// It exits with the number that ends its name after a "_" (addon_3010.exe
// exits with 3010), or 0. When the environment variable CV_RECORD_ACL names
// a file, it also appends there who may use its own folder and the folder
// above it (a line "ACL:FOLDER=SID SID ..." each): the setup hands its
// environment on, so a test learns how a folder the setup made was protected
// while the setup ran.
#include <windows.h>
#include <aclapi.h>
#include <sddl.h>

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

// The trustees of a folder's access list, "SID SID ..."; "?" when it cannot be read.
std::string Trustees(const std::string& folder) {
    PACL dacl = nullptr;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (GetNamedSecurityInfoA(folder.c_str(), SE_FILE_OBJECT, DACL_SECURITY_INFORMATION, nullptr, nullptr, &dacl,
                              nullptr, &descriptor) != ERROR_SUCCESS || !dacl)
        return "?";
    std::string trustees;
    for (DWORD i = 0; i < dacl->AceCount; ++i) {
        ACCESS_ALLOWED_ACE* ace = nullptr;
        char* sid = nullptr;
        if (GetAce(dacl, i, reinterpret_cast<void**>(&ace)) && ConvertSidToStringSidA(&ace->SidStart, &sid))
            trustees += std::string(trustees.empty() ? "" : " ") + sid;
        LocalFree(sid);
    }
    LocalFree(descriptor);
    return trustees;
}

void RecordAccess(const std::string& self) {
    char target[MAX_PATH] = "";
    const DWORD n = GetEnvironmentVariableA("CV_RECORD_ACL", target, sizeof target);
    if (n == 0 || n >= sizeof target) return;
    const std::string folder = self.substr(0, self.find_last_of('\\'));
    const std::string parent = folder.substr(0, folder.find_last_of('\\'));
    FILE* out = std::fopen(target, "ab");
    if (!out) return;
    for (const std::string& path : {folder, parent})
        std::fprintf(out, "ACL:%s=%s\n", path.c_str(), Trustees(path).c_str());
    std::fclose(out);
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
    RecordAccess(self);
    Sleep(1500);
    append("done");
    return ExitCodeByName(self);
}
