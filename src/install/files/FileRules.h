// The per-file rules of the file phase that need no Windows call: flag bits,
// the operating-system mask, web items, destinations, the
// attribute bits a file ends with and the version decision for libraries.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace install::filerules {

// Bits of a record's FLAGS.
constexpr int32_t kFlagReadOnly = 1;
constexpr int32_t kFlagReadOnlyToo = 2;  // same effect as kFlagReadOnly
constexpr int32_t kFlagHidden = 4;
constexpr int32_t kFlagSystem = 8;
constexpr int32_t kFlagCritical = 16;        // a failed copy abandons the installation without asking
constexpr int32_t kFlagOnlyIfAbsent = 32;    // an existing destination is left untouched
constexpr int32_t kFlagPermanent = 64;       // not written to the uninstall log
constexpr int32_t kFlagSelfRegister = 128;   // "regsvr32.exe /s" after the copy
constexpr int32_t kFlagExpandContent = 256;  // placeholders expanded inside the file

inline bool HasFlag(int32_t flags, int32_t bit) { return (flags & bit) != 0; }

// ---- Operating-system mask ---------------------------------------------------

// Bits of a record's OSMASK. 0 and 255 mean every system, and so does any
// mask with kSystemAll set.
constexpr int32_t kSystemAll = 1;
constexpr int32_t kSystem98 = 2;
constexpr int32_t kSystem98SE = 4;
constexpr int32_t kSystemME = 8;
constexpr int32_t kSystemNT4 = 16;
constexpr int32_t kSystem2000 = 32;
constexpr int32_t kSystemXP = 64;
constexpr int32_t kSystemNET = 128;

// True when the file is for the system named osName ("98", "98SE", "ME",
// "NT4", "2000", "XP", "NET", or "" when unknown): the mask is 0 or 255, has
// bit 1, or has the bit of that name set (exact comparison). Bits above 128
// name no system; an unknown system matches only the every-system masks.
bool SystemMaskMatches(int32_t mask, const std::string& osName);

// ---- Destinations ------------------------------------------------------------

// The text with every "Destination Computer\" removed.
std::string RemoveDestinationComputer(const std::string& destDir);

// Destination of a file before placeholder expansion: DESTDIR with every
// "Destination Computer\" removed, a backslash appended unless it already
// ends with one, then the file name. Also used for web items.
std::string DestinationPath(const std::string& destDir, const std::string& fileName);

// The per-file directory to create, before placeholder expansion: a distinct
// directory with every "Destination Computer\" removed.
inline std::string DirectoryToCreate(const std::string& distinctDir) {
    return RemoveDestinationComputer(distinctDir);
}

// ---- Web items ---------------------------------------------------------------
// Which records are web items is the file list's rule (core::filelist::IsWebItem).

struct WebItem {
    std::string address;    // the source line up to its first "{", without a digest suffix
    std::string condition;  // text after the first "{", one closing "}" at its end removed; may be empty
    std::string fileName;   // text of the address after its last "/"
    std::string sha256;     // the digest the file must have (64 lower-case hex digits), or ""
    bool badDigest = false; // the address ends in a malformed "#sha256=" suffix
};

WebItem ParseWebItem(const std::string& sourceLine);

// ---- Attributes --------------------------------------------------------------

// File attribute bits, as the file system reports them.
constexpr uint32_t kAttrReadOnly = 0x01;
constexpr uint32_t kAttrHidden = 0x02;
constexpr uint32_t kAttrSystem = 0x04;
constexpr uint32_t kAttrNormal = 0x80;

// Attributes of an installed file from its current ones and the record's
// flags: read-only set for flag 1 or 2 and cleared otherwise; hidden set for
// flag 4; system set for flag 8; hidden and system are never cleared; other
// bits are kept. A result without any bit reads kAttrNormal.
uint32_t AttributesAfterInstall(uint32_t current, int32_t flags);

// ---- Version decision for libraries --------------------------------------------

// True when the path, lower-cased, contains ".dll" or ".ocx": an existing
// destination is then only replaced by the version decision.
bool IsVersionedLibrary(const std::string& sourcePath);

// The numbers of a FileVersion text: every "," read as ".", then numbers
// separated by "." (spaces around them allowed), up to the first part that is
// not a number ("6.1.7601.17514 (build)" gives 6, 1, 7601, 17514). Empty when
// the text does not start with a number. Huge parts saturate.
std::vector<uint64_t> ParseVersion(const std::string& versionText);

// -1, 0 or 1 as a is lower, equal or higher than b, part by part as numbers
// (1.10 > 1.9); missing parts count as 0 (1.2 == 1.2.0.0).
int CompareVersions(const std::vector<uint64_t>& a, const std::vector<uint64_t>& b);

// Whether an existing library is replaced by the one being installed, from
// their FileVersion texts: only when the installing file's version is higher.
// Equal or lower keeps the file in place. Without a version on either side:
// an installing file with a version replaces an existing one without; an
// installing file without one never replaces; both without keeps the file.
bool ShouldReplaceByVersion(const std::string& installing, const std::string& existing);

// ---- Files the run replaces --------------------------------------------------

// Where a file the run replaces waits until the run ends: a folder on the
// destination's own volume, so that moving it aside is a rename. The
// uninstall folder's "Backup\" when the uninstall folder lies on that volume
// (volumes compared without regard to ASCII case), otherwise
// "Rollback.<ProductCode>.<unique>\" at the destination volume's root, where
// anybody may make folders: `unique` is a text nobody can guess, and the run
// makes that folder anew with its private access list. Volumes as the system
// names them, with a trailing backslash ("C:\"); "" when the destination's
// volume is unknown. With a trailing backslash.
std::string BackupFolder(const std::string& destinationVolume, const std::string& uninstallVolume,
                         const std::string& uninstallFolder, const std::string& productCode,
                         const std::string& unique);
// Whether a backup lies in the uninstall folder (in its "Backup\", which
// only administrators may write into) rather than in a folder at a volume's
// root; compared without regard to ASCII case.
bool IsInUninstallFolder(const std::string& backup, const std::string& uninstallFolder);

// The name of the n-th file the run moves aside: "n_" and the path's file name.
std::string BackupName(unsigned n, const std::string& path);
// The subfolder of the backup folder the n-th file moved aside waits in, with
// a trailing backslash: a few hundred backups a folder, because making a file
// in a folder costs the system a look at every name already there.
std::string BackupBucket(unsigned n);
// Whether a folder name is one BackupBucket makes.
bool IsBackupBucket(const std::string& folderName);

// ---- Deletions at the next restart -------------------------------------------

// The paths a PendingFileRenameOperations value hands to the system to
// delete at the next restart. The value's bytes are a REG_MULTI_SZ of pairs,
// a source and its target, each path after "\??\"; a deletion is a pair
// whose target is empty. The paths come without that prefix.
std::vector<std::string> PendingDeletions(const std::string& multiString);

}  // namespace install::filerules
