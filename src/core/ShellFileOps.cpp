#include "core/ShellFileOps.h"

#include <windows.h>
#include <shellapi.h>

#include <algorithm>
#include <cctype>
#include <vector>

namespace core::shellops {
namespace {

constexpr size_t kMaxPath = 260;

// The shell takes lists of paths ended by an extra NUL.
std::vector<char> DoubleTerminated(const std::string& path) {
    std::vector<char> buf(path.begin(), path.end());
    buf.push_back('\0');
    buf.push_back('\0');
    return buf;
}

bool Run(UINT operation, const std::string& from, const std::string& to, FILEOP_FLAGS flags,
         bool quiet) {
    if (from.size() >= kMaxPath || to.size() >= kMaxPath) return false;
    if (quiet) flags |= FOF_NOCONFIRMATION | FOF_NOCONFIRMMKDIR | FOF_SILENT | FOF_NOERRORUI;
    std::vector<char> src = DoubleTerminated(from), dst = DoubleTerminated(to);
    SHFILEOPSTRUCTA op = {};
    op.wFunc = operation;
    op.pFrom = src.data();
    op.pTo = to.empty() ? nullptr : dst.data();
    op.fFlags = flags;
    return SHFileOperationA(&op) == 0 && !op.fAnyOperationsAborted;
}

bool MatchesAnyFile(const std::string& pattern) {
    WIN32_FIND_DATAA found;
    HANDLE h = FindFirstFileA(pattern.c_str(), &found);
    if (h == INVALID_HANDLE_VALUE) return false;
    bool any = false;
    do any = !(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY);
    while (!any && FindNextFileA(h, &found));
    FindClose(h);
    return any;
}

std::string Lower(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return std::tolower(c); });
    return s;
}

// Moves the current directory up while it lies inside `path`.
void StepOutOf(const std::string& path) {
    const std::string target = Lower(path);
    for (int guard = 0; guard < 64; ++guard) {
        char cur[MAX_PATH] = "";
        if (!GetCurrentDirectoryA(sizeof cur, cur)) return;
        const std::string current = Lower(cur);
        const bool inside = current.compare(0, target.size(), target) == 0 &&
                            (current.size() == target.size() || current[target.size()] == '\\' ||
                             target.back() == '\\');
        if (!inside || !SetCurrentDirectoryA("..")) return;
    }
}

constexpr int kMaxTreeDepth = 64;

// Deletes what `folder` holds, then the folder itself.
bool DeleteTree(const std::string& folder, int depth) {
    WIN32_FIND_DATAA entry;
    const HANDLE find = FindFirstFileA((folder + "\\*").c_str(), &entry);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            const std::string name = entry.cFileName;
            if (name == "." || name == "..") continue;
            const std::string path = folder + "\\" + name;
            if (entry.dwFileAttributes & FILE_ATTRIBUTE_READONLY) SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
            const bool link = entry.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT;
            if (!(entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) DeleteFileA(path.c_str());
            else if (link || depth >= kMaxTreeDepth) RemoveDirectoryA(path.c_str());
            else DeleteTree(path, depth + 1);
        } while (FindNextFileA(find, &entry));
        FindClose(find);
    }
    return RemoveDirectoryA(folder.c_str()) != 0;
}

}  // namespace

bool CopyFiles(const std::string& sourcePattern, const std::string& destination, bool quiet) {
    if (!MatchesAnyFile(sourcePattern)) {
        SetLastError(kNothingToCopy);
        return false;
    }
    return Run(FO_COPY, sourcePattern, destination, FOF_FILESONLY, quiet);
}

bool CopyFolder(const std::string& source, const std::string& destination, bool quiet) {
    return Run(FO_COPY, source, destination, 0, quiet);
}

bool Delete(const std::string& path, bool quiet) {
    StepOutOf(path);
    return Run(FO_DELETE, path, std::string(), 0, quiet);
}

bool DeleteFolderIfPresent(std::string folder) {
    if (!folder.empty() && folder.back() == '\\') folder.pop_back();
    const DWORD attributes = folder.empty() ? INVALID_FILE_ATTRIBUTES : GetFileAttributesA(folder.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return true;
    StepOutOf(folder);
    if (!(attributes & FILE_ATTRIBUTE_DIRECTORY) || (attributes & FILE_ATTRIBUTE_REPARSE_POINT))
        return Delete(folder, true);
    return DeleteTree(folder, 0) || GetFileAttributesA(folder.c_str()) == INVALID_FILE_ATTRIBUTES;
}

}  // namespace core::shellops
