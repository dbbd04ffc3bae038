#include "install/shared/ProtectedFolders.h"

#include <windows.h>
#include <shlobj.h>

#include <iterator>

#include "core/Folders.h"
#include "core/Registry.h"
#include "core/Trace.h"
#include "util/Text.h"

namespace install {

namespace {

const int kShellFolders[] = {
    CSIDL_WINDOWS,          CSIDL_SYSTEM,           CSIDL_SYSTEMX86,
    CSIDL_PROGRAM_FILES,    CSIDL_PROGRAM_FILESX86, CSIDL_PROGRAM_FILES_COMMON,
    CSIDL_PROGRAM_FILES_COMMONX86, CSIDL_PROFILE,   CSIDL_FONTS,
    CSIDL_DESKTOPDIRECTORY, CSIDL_COMMON_DESKTOPDIRECTORY,
    CSIDL_PROGRAMS,         CSIDL_COMMON_PROGRAMS,
    CSIDL_STARTMENU,        CSIDL_COMMON_STARTMENU,
    CSIDL_STARTUP,          CSIDL_COMMON_STARTUP,
    CSIDL_FAVORITES,        CSIDL_COMMON_FAVORITES,
    CSIDL_APPDATA,          CSIDL_COMMON_APPDATA,   CSIDL_LOCAL_APPDATA,
    CSIDL_PERSONAL,         CSIDL_COMMON_DOCUMENTS,
    CSIDL_MYPICTURES,       CSIDL_COMMON_PICTURES,
    CSIDL_MYMUSIC,          CSIDL_COMMON_MUSIC,
    CSIDL_MYVIDEO,          CSIDL_COMMON_VIDEO,
    CSIDL_TEMPLATES,        CSIDL_COMMON_TEMPLATES,
    CSIDL_ADMINTOOLS,       CSIDL_COMMON_ADMINTOOLS,
    CSIDL_SENDTO,           CSIDL_RECENT,           CSIDL_NETHOOD,
    CSIDL_PRINTHOOD,        CSIDL_COOKIES,          CSIDL_INTERNET_CACHE,
    CSIDL_HISTORY,
};

void AddFolder(std::vector<std::string>& folders, std::string folder) {
    while (folder.size() > 3 && folder.back() == '\\') folder.pop_back();
    if (folder.empty()) return;
    for (const std::string& known : folders)
        if (util::text::EqualsIgnoringAsciiCase(known, folder)) return;
    folders.push_back(folder);
}

constexpr char kProfileListKey[] = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\ProfileList";

std::string ExpandedEnvironment(const std::string& text) {
    char expanded[MAX_PATH] = "";
    const DWORD length = ExpandEnvironmentStringsA(text.c_str(), expanded, sizeof expanded);
    return length == 0 || length > sizeof expanded ? std::string() : std::string(expanded);
}

// The folders below `parent` (the profiles folder), with their full paths.
void AddSubfolders(std::vector<std::string>& out, const std::string& parent) {
    if (parent.empty()) return;
    WIN32_FIND_DATAA entry;
    HANDLE find = FindFirstFileA((parent + "\\*").c_str(), &entry);
    if (find == INVALID_HANDLE_VALUE) return;
    do {
        const std::string name = entry.cFileName;
        if ((entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && name != "." && name != "..")
            out.push_back(parent + "\\" + name);
    } while (FindNextFileA(find, &entry));
    FindClose(find);
}

// Every profile the machine knows: those its profile list names (wherever
// they lie) and every folder in the profiles folder (the default and the
// public profile among them).
std::vector<std::string> MachineProfiles() {
    std::vector<std::string> profiles;
    HKEY list = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kProfileListKey, 0, KEY_READ, &list) != ERROR_SUCCESS) return profiles;
    char name[256];
    for (DWORD i = 0;; ++i) {
        DWORD size = sizeof name;
        if (RegEnumKeyExA(list, i, name, &size, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
        const std::string path = core::registry::ReadText(
            HKEY_LOCAL_MACHINE, std::string(kProfileListKey) + "\\" + name, "ProfileImagePath");
        if (!path.empty()) profiles.push_back(ExpandedEnvironment(path));
    }
    RegCloseKey(list);
    const std::string root = core::registry::ReadText(HKEY_LOCAL_MACHINE, kProfileListKey, "ProfilesDirectory");
    AddSubfolders(profiles, util::text::WithoutTrailingBackslashes(ExpandedEnvironment(root)));
    return profiles;
}

}  // namespace

std::vector<std::string> ProtectedFolders(core::scope::InstallScope scope) {
    std::vector<std::string> folders;
    AddFolder(folders, core::folders::WindowsFolder());
    AddFolder(folders, core::folders::SystemFolder());
    AddFolder(folders, core::folders::TempFolder());
    for (int csidl : kShellFolders) AddFolder(folders, core::folders::SpecialFolder(csidl));
    if (scope != core::scope::InstallScope::AllUsers) return folders;
    const std::vector<std::string> own = folders;
    for (const std::string& folder :
         core::scope::ProfileFolders(own, core::folders::SpecialFolder(CSIDL_PROFILE), MachineProfiles()))
        AddFolder(folders, folder);
    return folders;
}

std::string ProgramFolder() {
    char path[MAX_PATH] = "";
    const DWORD length = GetModuleFileNameA(nullptr, path, sizeof path);
    if (length == 0 || length >= sizeof path) {
        core::trace::Failure("GetModuleFileNameA", GetLastError());
        return std::string();
    }
    std::string folder(path, length);
    const size_t slash = folder.find_last_of('\\');
    return slash == std::string::npos ? std::string() : folder.substr(0, slash + 1);
}

}  // namespace install
