#include "install/files/LinkGuard.h"

#include <optional>
#include <utility>

#include "core/Trace.h"
#include "install/shared/UndoRules.h"

namespace install {

namespace {

// Folders deeper than this are refused rather than walked.
constexpr int kMaxDepth = 128;
constexpr DWORD kShareAllButDelete = FILE_SHARE_READ | FILE_SHARE_WRITE;
constexpr DWORD kShareAll = kShareAllButDelete | FILE_SHARE_DELETE;

bool IsMissing(DWORD error) { return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND; }

// Opens a file or folder for its attributes only. `share` without
// FILE_SHARE_DELETE holds it in place while the handle is open.
HANDLE OpenForQuery(const std::string& path, DWORD share) {
    return CreateFileA(path.c_str(), FILE_READ_ATTRIBUTES, share, nullptr, OPEN_EXISTING,
                       FILE_FLAG_BACKUP_SEMANTICS, nullptr);
}

// Where the file system says the opened file lies, links followed.
std::optional<std::string> FinalPath(HANDLE handle) {
    std::string path(MAX_PATH, '\0');
    for (int tries = 0; tries < 2; ++tries) {
        const DWORD length = GetFinalPathNameByHandleA(handle, &path[0], static_cast<DWORD>(path.size()),
                                                       FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
        if (length == 0) return std::nullopt;
        if (length < path.size()) {
            path.resize(length);
            return undorules::DosPathOfFinal(path);
        }
        path.assign(length + 1, '\0');
    }
    return std::nullopt;
}

// The name the folder holds it under, when `name` may be a short (8.3) one.
std::string LongName(const std::string& path) {
    WIN32_FIND_DATAA found;
    const HANDLE search = FindFirstFileA(path.c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return std::string();
    FindClose(search);
    return found.cFileName;
}

// A path without its trailing backslashes, split at its last backslash;
// nullopt for a path with no folder part.
std::optional<undorules::ValuePath> ParentAndName(const std::string& path) {
    const std::string trimmed = path.substr(0, undorules::ComparableFolder(path, GetACP()).size());
    std::optional<undorules::ValuePath> split = undorules::SplitValuePath(trimmed, GetACP());
    if (split && split->key.empty()) return std::nullopt;
    return split;
}

}  // namespace

LinkGuard::LinkGuard(std::vector<std::string> guarded) : guarded_(std::move(guarded)) {}

LinkGuard::~LinkGuard() {
    for (auto& entry : folders_)
        if (entry.second.pin != INVALID_HANDLE_VALUE) CloseHandle(entry.second.pin);
}

bool LinkGuard::IsGuarded(const std::string& folder) const {
    for (const std::string& own : guarded_)
        if (undorules::IsSameOrBelow(folder, own, GetACP())) return true;
    return false;
}

// Opens `path`, holding it in place, and asks where it lies: it must be
// `name` in `parent`. The handle is kept (Folder::pin) for a sound one.
LinkGuard::Folder LinkGuard::Open(const std::string& path, const Folder& parent, const std::string& name) const {
    Folder folder;
    // Held by someone with the right to delete or rename it, it could be
    // swapped for a link once checked: it is refused like one.
    const HANDLE handle = OpenForQuery(path, kShareAllButDelete);
    if (handle == INVALID_HANDLE_VALUE) {
        const DWORD error = GetLastError();
        folder.check = IsMissing(error) ? PathCheck::Gone : PathCheck::ThroughLink;
        if (!IsMissing(error)) core::trace::Failure("CreateFileA (link check)", path, error);
        return folder;
    }
    const std::optional<std::string> final = FinalPath(handle);
    const unsigned codePage = GetACP();
    const bool whereNamed = final && (undorules::LiesWhereNamed(*final, parent.finalPath, name, codePage) ||
                                      undorules::LiesWhereNamed(*final, parent.finalPath, LongName(path), codePage));
    if (!whereNamed) {
        core::trace::Value("path through a link refused", path);
        CloseHandle(handle);
        folder.check = PathCheck::ThroughLink;
        return folder;
    }
    folder.finalPath = *final;
    folder.pin = handle;
    return folder;
}

const LinkGuard::Folder& LinkGuard::Visit(const std::string& path, int depth) {
    const std::string key = undorules::ComparableFolder(path, GetACP());  // `path` has no trailing backslash
    const auto known = folders_.find(key);
    if (known != folders_.end()) return known->second;
    Folder folder;
    const std::optional<undorules::ValuePath> split = ParentAndName(path);
    if (depth > kMaxDepth) {
        folder.check = PathCheck::ThroughLink;
    } else if (!split || !IsGuarded(path)) {
        // Outside the product's folders: taken as it resolves.
        folder.finalPath = path;
        const bool driveOnly = path.size() == 2 && path[1] == ':';  // "C:" alone names a current folder
        const HANDLE handle = OpenForQuery(driveOnly ? path + "\\" : path, kShareAll);
        if (handle != INVALID_HANDLE_VALUE) {
            folder.finalPath = FinalPath(handle).value_or(path);
            CloseHandle(handle);
        }
    } else {
        const Folder parent = Visit(split->key, depth + 1);
        if (parent.check != PathCheck::Sound) folder.check = parent.check;
        else folder = Open(path, parent, split->name);
    }
    return folders_.emplace(key, folder).first->second;
}

PathCheck LinkGuard::Check(const std::string& path) {
    const std::optional<undorules::ValuePath> split = ParentAndName(path);
    return split ? Visit(split->key, 0).check : PathCheck::Sound;
}

PathCheck LinkGuard::CheckFolder(const std::string& folder) {
    const std::string trimmed = folder.substr(0, undorules::ComparableFolder(folder, GetACP()).size());
    return Visit(trimmed, 0).check;
}

void LinkGuard::Release(const std::string& folder) {
    const auto found = folders_.find(undorules::ComparableFolder(folder, GetACP()));
    if (found == folders_.end()) return;
    if (found->second.pin != INVALID_HANDLE_VALUE) CloseHandle(found->second.pin);
    folders_.erase(found);
}

PathCheck LinkGuard::CheckFile(const std::string& path) {
    const std::optional<undorules::ValuePath> split = ParentAndName(path);
    if (!split) return PathCheck::Sound;
    const Folder parent = Visit(split->key, 0);
    if (parent.check != PathCheck::Sound || !IsGuarded(path)) return parent.check;
    Folder file = Open(path, parent, split->name);
    if (file.pin != INVALID_HANDLE_VALUE) CloseHandle(file.pin);  // a file is not held: the step writes it
    return file.check;
}

}  // namespace install
