// Removal and rollback never act through a link. A standard user who can
// write into a product's folder can put a junction or symbolic link in place
// of one of its folders; the elevated removal, following it, would delete or
// overwrite files anywhere. The guard opens every folder on the way to a
// path, from the product's own folders down, and asks the file system where
// each really lies: a folder that is not where its name says was replaced by
// a link (or lies behind one), and the path is refused.
//
// The folders found sound stay open until the guard ends, without sharing
// the right to delete: on Windows nobody can rename or delete them then, so
// what was checked is what the removal acts in. Folders are checked once,
// so a step that handles thousands of files asks once per folder.
#pragma once

#include <windows.h>

#include <map>
#include <string>
#include <vector>

namespace install {

enum class PathCheck {
    Sound,        // every folder on the way lies where its name says
    Gone,         // a folder on the way is not there: nothing to act on
    ThroughLink,  // a folder on the way leads elsewhere: leave the path alone
};

class LinkGuard {
public:
    // `guarded`: the folders the check starts from, the product's own (those
    // the run made and the installation folder). Paths outside them are not
    // checked: links above them are the machine's layout, made before the
    // product by whoever could write there.
    explicit LinkGuard(std::vector<std::string> guarded);
    ~LinkGuard();
    LinkGuard(const LinkGuard&) = delete;
    LinkGuard& operator=(const LinkGuard&) = delete;

    // Checks the folders on the way to `path` (not `path` itself: deleting
    // or replacing a link removes only the link).
    PathCheck Check(const std::string& path);
    // Checks the folders on the way and the file itself, for a file the
    // step writes into.
    PathCheck CheckFile(const std::string& path);
    // Checks the folder itself too, and holds it until Release: for a
    // folder whose content the step deletes.
    PathCheck CheckFolder(const std::string& folder);
    // Lets go of a folder CheckFolder held, so that it can be deleted.
    void Release(const std::string& folder);

private:
    struct Folder {
        PathCheck check = PathCheck::Sound;
        std::string finalPath;  // where it really lies
        HANDLE pin = INVALID_HANDLE_VALUE;
    };
    const Folder& Visit(const std::string& folder, int depth);
    Folder Open(const std::string& path, const Folder& parent, const std::string& name) const;
    bool IsGuarded(const std::string& folder) const;

    std::vector<std::string> guarded_;
    std::map<std::string, Folder> folders_;  // by ComparableFolder
};

// Whether a check lets the step act.
inline bool Refused(PathCheck check) { return check == PathCheck::ThroughLink; }

}  // namespace install
