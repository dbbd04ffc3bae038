// Permissions of files placed by a rename. A file renamed on one volume keeps
// the security descriptor it was given where it was made: payload files are
// made in the working folder under the user's temporary folder, which lets
// only that user (and administrators) read them. A placed file gets instead
// what its destination folder passes on to new files, as a copy would have.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace install::fileops {

// Resets placed files to the permissions their folders pass on. The system
// works out what a folder passes on (an empty DACL that inherits) for the
// first file placed in it, which costs it a look at the folder; the next
// files of the same folder get the descriptor it made, in one call each. Files
// made by this process have one owner, and files of one folder and one owner
// inherit alike. A failure is traced (the call, the file and the system's
// error text) and otherwise ignored: the file is in place and readable by the
// installing user either way.
class InheritedPermissions {
public:
    // `file` is open with READ_CONTROL and WRITE_DAC and now named `path`, a
    // full path.
    void Apply(HANDLE file, const std::string& path);
    // The same, unless `current` (the file's descriptor as read, with its
    // DACL) already holds what this folder's files get: a file an earlier run
    // placed keeps it, and nothing is written.
    void Apply(HANDLE file, const std::string& path, PSECURITY_DESCRIPTOR current);
    // The same for a file given by name (no open handle to use).
    void Apply(const std::string& path);

private:
    bool Holds(PSECURITY_DESCRIPTOR current, const std::string& path) const;

    std::string folder_;                     // the folder `descriptor_` was made for
    std::vector<unsigned char> descriptor_;  // self-relative; empty when none is known
};

}  // namespace install::fileops
