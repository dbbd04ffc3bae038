#include "control/ThemeFiles.h"

#include <windows.h>

#include "util/Text.h"

namespace control {

int MoveThemeFiles(const std::string& sourceFolder, const std::string& themeFolder) {
    CreateDirectoryA(themeFolder.c_str(), nullptr);
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((sourceFolder + "^!*.*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return 0;
    int moved = 0;
    do {
        const std::string name = found.cFileName;
        if (name == "." || name == ".." || (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            continue;
        const std::string target = themeFolder + util::text::ReplaceAll(name, "^!", "");
        // MoveFileA refuses to replace an existing file, which keeps the theme
        // folder's own copy.
        if (MoveFileA((sourceFolder + name).c_str(), target.c_str())) ++moved;
    } while (FindNextFileA(search, &found));
    FindClose(search);
    return moved;
}

}  // namespace control
