#include "install/files/FileRemoval.h"

#include <windows.h>

#include <optional>
#include <unordered_set>
#include <vector>

#include "core/Registry.h"
#include "core/Trace.h"
#include "install/files/FileRules.h"
#include "install/shared/UndoRules.h"

namespace install {

namespace {

// A program that closes its file a moment later gets this long.
constexpr int kTries = 5;
constexpr DWORD kPauseMs = 200;
const char kSessionManagerKey[] = "SYSTEM\\CurrentControlSet\\Control\\Session Manager";

bool IsMissing(DWORD error) { return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND; }

// The errors of a file or folder some program holds open.
bool IsInUse(DWORD error) {
    return error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION ||
           error == ERROR_ACCESS_DENIED || error == ERROR_USER_MAPPED_FILE;
}

// The system deletes the file, or the folder when it is empty by then, at
// the next restart.
bool DeleteAtRestart(const std::string& path) {
    if (MoveFileExA(path.c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT)) return true;
    core::trace::Failure("MoveFileExA", path, GetLastError());
    return false;
}

// Whether everything in the folder is handed to the system already, to be
// deleted at the next restart (listed in PendingFileRenameOperations).
bool HoldsOnlyWhatGoesAtRestart(const std::string& folder) {
    const std::optional<core::registry::Value> value =
        core::registry::ReadValue(HKEY_LOCAL_MACHINE, kSessionManagerKey, "PendingFileRenameOperations");
    if (!value || value->type != REG_MULTI_SZ) return false;
    std::unordered_set<std::string> pending;
    for (const std::string& path : filerules::PendingDeletions(value->bytes))
        pending.insert(undorules::ComparableFolder(path, GetACP()));
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return false;
    bool onlyPending = true;
    do {
        const std::string name = found.cFileName;
        if (name == "." || name == "..") continue;
        onlyPending = pending.count(undorules::ComparableFolder(folder + "\\" + name, GetACP())) > 0;
    } while (onlyPending && FindNextFileA(search, &found));
    FindClose(search);
    return onlyPending;
}

std::string WithoutTrailingBackslash(std::string path) {
    while (path.size() > 1 && (path.back() == '\\' || path.back() == '/')) path.pop_back();
    return path;
}

RemovalOutcome RemoveTree(const std::string& folder, LinkGuard& guard, int depth);

// Removes one entry of a folder being deleted whole.
RemovalOutcome RemoveEntry(const std::string& path, const WIN32_FIND_DATAA& entry, LinkGuard& guard, int depth) {
    const bool isFolder = (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    if (!isFolder) return RemoveFileNow(path);
    if (entry.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) {
        // A link: only the link goes, whatever it points to.
        SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        if (RemoveDirectoryA(path.c_str())) return RemovalOutcome::Removed;
        core::trace::Failure("RemoveDirectoryA", path, GetLastError());
        return RemovalOutcome::Failed;
    }
    return RemoveTree(path, guard, depth + 1);
}

// The worst of two outcomes: Failed over AtRestart over Removed.
RemovalOutcome Worse(RemovalOutcome a, RemovalOutcome b) {
    if (a == RemovalOutcome::Failed || b == RemovalOutcome::Failed) return RemovalOutcome::Failed;
    if (a == RemovalOutcome::AtRestart || b == RemovalOutcome::AtRestart) return RemovalOutcome::AtRestart;
    return RemovalOutcome::Removed;
}

// The folder is held while its content goes: nobody can put a link in its
// place meanwhile.
RemovalOutcome RemoveTree(const std::string& folder, LinkGuard& guard, int depth) {
    if (depth > kMaxTreeDepth) return RemovalOutcome::Failed;
    switch (guard.CheckFolder(folder)) {
        case PathCheck::Gone: return RemovalOutcome::Removed;
        case PathCheck::ThroughLink: return RemovalOutcome::Failed;
        case PathCheck::Sound: break;
    }
    RemovalOutcome outcome = RemovalOutcome::Removed;
    WIN32_FIND_DATAA entry;
    HANDLE find = FindFirstFileA((folder + "\\*").c_str(), &entry);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            const std::string name = entry.cFileName;
            if (name == "." || name == "..") continue;
            outcome = Worse(outcome, RemoveEntry(folder + "\\" + name, entry, guard, depth));
        } while (FindNextFileA(find, &entry));
        FindClose(find);
    }
    guard.Release(folder);
    switch (RemoveEmptyFolder(folder)) {
        case FolderOutcome::Removed: return outcome;
        case FolderOutcome::AtRestart: return Worse(outcome, RemovalOutcome::AtRestart);
        case FolderOutcome::NotEmpty:
            // Only what goes at restart is left in it: the folder follows it then.
            if (outcome == RemovalOutcome::AtRestart && DeleteAtRestart(folder)) return outcome;
            return RemovalOutcome::Failed;
        case FolderOutcome::Failed: break;
    }
    return RemovalOutcome::Failed;
}

}  // namespace

RemovalOutcome RemoveFileNow(const std::string& path) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        const DWORD error = GetLastError();
        if (IsMissing(error)) return RemovalOutcome::Removed;
        core::trace::Failure("GetFileAttributesA", path, error);
        return RemovalOutcome::Failed;
    }
    if (attributes & FILE_ATTRIBUTE_DIRECTORY) return RemovalOutcome::Failed;
    if (attributes & FILE_ATTRIBUTE_READONLY) SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    DWORD error = 0;
    for (int attempt = 0; attempt < kTries; ++attempt) {
        if (attempt > 0) Sleep(kPauseMs);
        if (DeleteFileA(path.c_str())) return RemovalOutcome::Removed;
        error = GetLastError();
        if (IsMissing(error)) return RemovalOutcome::Removed;
        if (!IsInUse(error)) break;
    }
    core::trace::Failure("DeleteFileA", path, error);
    if (IsInUse(error) && DeleteAtRestart(path)) return RemovalOutcome::AtRestart;
    return RemovalOutcome::Failed;
}

FolderOutcome RemoveEmptyFolder(const std::string& path) {
    const std::string folder = WithoutTrailingBackslash(path);
    if (RemoveDirectoryA(folder.c_str())) return FolderOutcome::Removed;
    const DWORD error = GetLastError();
    if (IsMissing(error)) return FolderOutcome::Removed;
    if (error == ERROR_DIR_NOT_EMPTY) {
        // Empty once the restart has taken what it holds: it goes then too.
        if (HoldsOnlyWhatGoesAtRestart(folder) && DeleteAtRestart(folder)) return FolderOutcome::AtRestart;
        return FolderOutcome::NotEmpty;
    }
    core::trace::Failure("RemoveDirectoryA", folder, error);
    // A folder some program has open as its current folder.
    if (IsInUse(error) && DeleteAtRestart(folder)) return FolderOutcome::AtRestart;
    return FolderOutcome::Failed;
}

RemovalOutcome RemoveFolderTree(const std::string& path, LinkGuard& guard) {
    const std::string folder = WithoutTrailingBackslash(path);
    const DWORD attributes = GetFileAttributesA(folder.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return IsMissing(GetLastError()) ? RemovalOutcome::Removed : RemovalOutcome::Failed;
    if (!(attributes & FILE_ATTRIBUTE_DIRECTORY)) return RemovalOutcome::Failed;
    if (attributes & FILE_ATTRIBUTE_REPARSE_POINT)
        return RemoveDirectoryA(folder.c_str()) ? RemovalOutcome::Removed : RemovalOutcome::Failed;
    return RemoveTree(folder, guard, 0);
}

std::string ResolvedFolder(const std::string& path) {
    char full[MAX_PATH];
    const DWORD fullLength = GetFullPathNameA(path.c_str(), sizeof full, full, nullptr);
    if (fullLength == 0 || fullLength >= sizeof full) return path;
    char longer[MAX_PATH];
    const DWORD longLength = GetLongPathNameA(full, longer, sizeof longer);
    if (longLength == 0 || longLength >= sizeof longer) return full;  // a missing folder keeps its spelling
    return longer;
}

}  // namespace install
