// Files a run replaces: moved aside before the new file takes their place,
// put back when the run is rolled back, deleted once it completed. Moving
// aside is a rename on the destination's volume, so the file keeps its
// bytes, attributes, times and permissions.
#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "core/UninstallLog.h"

namespace install::fileops {

// The volume a path lies on, as the system names it ("C:\"); "" when the
// system cannot say.
std::string VolumeOf(const std::string& path);

// The folders the backups of one run wait in, one per volume, each made
// when first asked for: the uninstall folder's "Backup\", or a folder of
// this run's own at the volume's root with an unguessable name and the
// private access list (filerules::BackupFolder), never one that was there.
class BackupFolders {
public:
    BackupFolders(std::string uninstallFolder, std::string productCode);
    // The folder for a file replaced at `destination`, with a trailing
    // backslash; "" when none could be made.
    std::string For(const std::string& destination);
    // The subfolder of For(destination) the n-th backup waits in
    // (filerules::BackupBucket), made when first asked for; "" when none
    // could be made. `onlyNumberedNames` tells whether this object made it:
    // then nothing but its own numbered backups can be in it, and a backup's
    // name needs no look whether it is taken.
    std::string BucketFor(const std::string& destination, unsigned n, bool& onlyNumberedNames);
    // Whether `backup` lies in the uninstall folder, which only
    // administrators may write into (not at a volume's root).
    bool InUninstallFolder(const std::string& backup) const;

private:
    std::string uninstallFolder_, uninstallVolume_, productCode_;
    std::vector<std::pair<std::string, std::string>> made_;  // volume, folder
    std::vector<std::pair<std::string, bool>> buckets_;      // bucket, made by this object
    // The volume of the last destination's folder: files come folder by
    // folder, and asking the system costs a look at each of the path's folders.
    std::string lastFolder_, lastVolume_;
};

// Renames the file at `moved.path` to `moved.backup`, making the backup's
// folder when it is missing; never copies and never replaces what lies at the
// backup path. False (the call traced) when the file stays where it was.
bool MoveAside(const core::MovedAside& moved);

// Copies the file at `moved.path` to `moved.backup`, making the backup's
// folder when missing, for a file the run changes in place (an INI file);
// the copy keeps the bytes, attributes and times. False (traced) when no copy
// was made.
bool CopyAside(const core::MovedAside& moved);

enum class PutBackOutcome {
    Restored,   // the backup is at its place again
    AtRestart,  // the file there is in use: the system puts the backup in its place at the next restart
    NoBackup,   // there is no backup (deleted once the run completed, or never made)
    Failed      // the backup stays where it is
};

// Renames the backup to its path, replacing a file there (read-only or not),
// then removes the backup's folder when it is empty. A file there that a
// program holds is replaced at the next restart instead.
PutBackOutcome PutBack(const core::MovedAside& moved);

// The size of a file in bytes; nullopt when it cannot be read.
std::optional<unsigned long long> FileSize(const std::string& path);

// Whether the backup of `moved` is there to be put back.
bool HasBackup(const core::MovedAside& moved);

// Deletes the backups (read-only ones too), then each of their folders that
// is empty then: once a folder, not once a file. The backups that stay.
std::vector<std::string> DeleteBackups(const std::vector<core::MovedAside>& backups);

}  // namespace install::fileops
