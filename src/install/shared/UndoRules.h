// The rules of a removal that need no Windows call: how folder paths compare,
// which folder may be deleted whole, in which order folders and keys go, how
// a logged value path splits, and which files are never deleted. Paths are
// walked by characters of the ANSI code page they are written in, so that the
// second byte of a double-byte character is never taken for a backslash.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace install::undorules {

// A folder path in the form folders are compared in: slashes as
// backslashes, ASCII letters in lower case, no trailing backslash
// ("C:\Apps\Tool\" and "c:/apps/tool" give the same text). Other characters
// stay as they are.
std::string ComparableFolder(const std::string& path, unsigned codePage);

// Whether `inner` is the folder `outer` or lies below it (compared as
// ComparableFolder). False when either is empty.
bool IsSameOrBelow(const std::string& inner, const std::string& outer, unsigned codePage);

// Whether a folder may be deleted with everything in it: an absolute path
// (drive letter or share) below the root of its drive or share, without "."
// or ".." parts or empty parts, that is neither one of `keptFolders` nor a
// parent of one. A relative path, a drive root ("C:\") and a share root
// ("\\server\share") never may.
bool IsRemovableTree(const std::string& folder, const std::vector<std::string>& keptFolders,
                     unsigned codePage);

// The remove-all choice: whether the installation folder `folder` may be
// deleted whole. Only a folder the run made (one of `loggedFolders`, its DIR
// records) and only under IsRemovableTree: the kept folders are the Windows,
// system, program-files and common-files folders, the profile and shell
// folders, the folder the uninstaller runs from and the uninstall folder.
bool MayRemoveWholeFolder(const std::string& folder, const std::vector<std::string>& loggedFolders,
                          const std::vector<std::string>& keptFolders, unsigned codePage);

// A path GetFinalPathNameByHandle gives ("\\?\C:\App", "\\?\UNC\srv\share\App")
// in the form the product writes paths in ("C:\App", "\\srv\share\App").
std::string DosPathOfFinal(const std::string& finalPath);

// Whether an opened folder or file lies where its name says: its final path
// (as the file system resolved it, links followed) is its parent's final
// path and its own name. A link in place of it, or of any folder between,
// resolves elsewhere. Compared as ComparableFolder.
bool LiesWhereNamed(const std::string& finalPath, const std::string& parentFinalPath, const std::string& name,
                    unsigned codePage);

// The number of parts of a path ("C:\A\B\" has 3, "HKEY_CURRENT_USER\A" 2):
// deeper folders and keys are removed before their parents.
size_t Depth(const std::string& path, unsigned codePage);

// A registry value's path as the log writes it, split at its last
// backslash: the key (root and sub-key) before it, the value name after it,
// "" for the default value ("HKEY_CLASSES_ROOT\.ext\"). nullopt without a
// backslash.
struct ValuePath {
    std::string key;
    std::string name;
};
std::optional<ValuePath> SplitValuePath(const std::string& path, unsigned codePage);

// Whether a logged value path names an environment variable: a value
// directly under one of the two environment keys (SystemSettingRules.h),
// root name included, compared without regard to ASCII case; not their
// default value.
bool IsEnvironmentVariable(const std::string& valuePath, unsigned codePage);

// Whether `name` is a file name alone: not empty, no folder, drive or ".."
// in it. The uninstall-time program is looked for in the uninstall folder
// only.
bool IsPlainFileName(const std::string& name, unsigned codePage);

// The uninstaller every product shares, which no removal deletes.
constexpr char kSharedUninstallerName[] = "cvexec.exe";
// Whether `file` is the shared uninstaller: a file of that name (without
// regard to ASCII case) directly in one of `sharedFolders` (the Windows
// folder, the folder the uninstaller runs from).
bool IsSharedUninstaller(const std::string& file, const std::vector<std::string>& sharedFolders,
                         unsigned codePage);

}  // namespace install::undorules
