#include "install/shared/DirectoryPath.h"

#include <windows.h>

#include <algorithm>

#include "install/shared/EarlierOwnership.h"
#include "util/Text.h"

namespace install {

namespace {
constexpr int kMaxAttempts = 10;

bool IsDirectory(const std::string& path) {
    const DWORD a = GetFileAttributesA(path.c_str());
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}
}  // namespace

// Tries the full path; when a parent is missing, cuts the path at its last
// backslash and tries the shorter one; after each success (or an existing
// directory) the next backslash goes back and the longer path is tried.
bool CreateDirectoryPath(const std::string& path, std::vector<std::string>* created) {
    std::string full = path;
    while (full.size() > 3 && full.back() == '\\') full.pop_back();
    if (full.empty()) return false;
    std::string current = full;
    for (int attempt = 0; attempt < kMaxAttempts; ++attempt) {
        const bool made = CreateDirectoryA(current.c_str(), nullptr) != 0;
        if (made && created) created->push_back(current);
        if (made || GetLastError() == ERROR_ALREADY_EXISTS) {
            if (current.size() >= full.size()) return IsDirectory(full);
            const size_t next = full.find('\\', current.size() + 1);
            current = full.substr(0, next);
            continue;
        }
        if (GetLastError() != ERROR_PATH_NOT_FOUND) return false;
        const size_t cut = current.rfind('\\');
        if (cut == std::string::npos || cut == 0) return false;
        current.resize(cut);
    }
    return false;
}

void LogFoldersMade(InstallContext& context, const std::string& dir, const std::vector<std::string>& made) {
    const std::string bare = util::text::WithoutTrailingBackslashes(dir);
    const bool madeItself = std::find(made.begin(), made.end(), bare) != made.end();
    if (madeItself) context.Log(core::LogKind::Dir, dir);
    else if (context.EarlierRunOwned(core::LogKind::Dir, dir)) LogClaim(context, core::LogKind::Dir, dir);
    for (const std::string& level : made)
        if (level != bare) context.Log(core::LogKind::Dir, level);
}

}  // namespace install
