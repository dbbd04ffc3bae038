// The shell's link (.lnk) and internet-shortcut (.url) objects, created in
// process through COM (initialised on the installation's worker thread) and
// saved through their persist-file interface. Thin helpers: each returns
// whether the file was saved and traces the call that failed.
#pragma once

#include <string>

namespace install::shelllink {

// What a .lnk file holds. Empty texts are not set, except the working folder
// and the description, which are set whatever they hold.
struct LinkFields {
    std::string target;         // a path, or a web address
    std::string arguments;      // set only when not empty
    std::string description;
    std::string workingFolder;
    std::string iconFile;       // no icon when empty
    int iconIndex = 0;
    int showCommand = 0;        // SW_* value; 0 leaves the link's default
};

// Saves a link with the fields to `path` (ANSI, at most MAX_PATH - 1
// characters once converted), remembering the path as the link's file. A
// field the link object refuses is traced and left out; false only when
// the object is missing or the file is not saved.
bool SaveLink(const std::string& path, const LinkFields& fields);

// Saves an internet shortcut to `url` as the file `path`.
bool SaveInternetShortcut(const std::string& path, const std::string& url);

}  // namespace install::shelllink
