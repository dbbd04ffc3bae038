// The setup a product was installed with, kept in its uninstall folder
// (Setup\, which only administrators may write) for modify and repair: the
// engine and the project files, without the payload cabinet. The cabinet
// stays where the product was installed from, usually a folder any user may
// write, so a repair takes it from there only while its SHA-256 is that of
// the cabinet the package was built with (file1.cab.sha256, which cvpack
// writes beside it and the cache keeps). A product installed from a single
// file has no cabinet beside it: the cache names that file (package.name),
// and a repair copies the cabinet out of it, checked the same way.
#pragma once

#include <string>

namespace install::setupcache {

constexpr char kFolder[] = "Setup";
constexpr char kCabinet[] = "file1.cab";
constexpr char kCabinetDigest[] = "file1.cab.sha256";
constexpr char kSingleFileRecord[] = "package.name";

// Where the cached setup lies: "<uninstall folder>\Setup\".
std::string CacheFolder(const std::string& uninstallFolder);

// Copies the package in `sourceFolder` (all but its cabinet) into
// "Setup.new\" beside the cache, to take the cache's place when the run
// commits. Nothing when the package has no cabinet digest (it could not be
// repaired safely) or when the run started from the cache itself (a repair).
// `singleFile`: the file name (UTF-8) of the single file the run came from,
// recorded in the copy; "" for a folder package.
void CacheSetup(const std::string& sourceFolder, const std::string& uninstallFolder, const std::string& singleFile);
// The run committed: its copy replaces the earlier one.
void CommitSetupCache(const std::string& uninstallFolder);
// The run was rolled back: its copy goes, the earlier one stays.
void DiscardSetupCache(const std::string& uninstallFolder);

// Makes the cached setup ready to run: its cabinet in the cache, copied from
// `installSource` when it is not there yet (out of the single file the cache
// names when no cabinet lies there), and only when its digest is the one the
// cache keeps. The path of the cached setup.exe, or "" (traced)
// when there is none or the cabinet is not the one installed.
std::string PrepareCachedSetup(const std::string& uninstallFolder, const std::string& installSource);

}  // namespace install::setupcache
