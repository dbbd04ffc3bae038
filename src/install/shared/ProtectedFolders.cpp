#include "install/shared/ProtectedFolders.h"

#include <windows.h>
#include <shlobj.h>

#include <iterator>

#include "core/Folders.h"
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

}  // namespace

std::vector<std::string> ProtectedFolders() {
    std::vector<std::string> folders;
    AddFolder(folders, core::folders::WindowsFolder());
    AddFolder(folders, core::folders::SystemFolder());
    AddFolder(folders, core::folders::TempFolder());
    for (int csidl : kShellFolders) AddFolder(folders, core::folders::SpecialFolder(csidl));
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
