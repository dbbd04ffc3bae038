// The uninstall log: what a run installed, written line by line by every
// installation phase and replayed later by the uninstaller (and by a rollback).
// Writer and reader live here together so that they agree by construction.
// Every line kind, its writer and its undo: UninstallLogFormat.md beside this file.
//
// File format ("uninstall.log" in the product's uninstall folder):
//   - since format 2, a first line "LOGFORMAT=2" (kLogFormatVersion);
//   - one line per record: the key, "=", the value, CR LF ("KEY=VALUE\r\n");
//   - bytes in the system ANSI code page, as the engine's texts are;
//   - no other header, no quoting, no escaping: a value runs from the first "=" to
//     the line end, so it may hold "=" but never CR or LF; keys hold no "=";
//   - lines in the order the phases wrote them; the keys are those of LogKind.
// The reader also takes LF-only line ends and a last line without one.
#pragma once

#include <cstdio>
#include <optional>
#include <string>
#include <vector>

namespace core {

// Every kind of record with its key, written once: the enum and the key
// texts below are made from this list, and a native test holds
// UninstallLogFormat.md to it. X(Name, "KEY", meaning).
#define CV_LOG_KINDS(X)                                                                                    \
    X(TotalFile, "TOTALFILE", "the number of file records of the run, decimal")                          \
    X(Dir, "DIR", "a directory the run created (the installation directory first)")                      \
    X(File, "FILE", "an installed file the uninstaller removes (payload, INI, icon copies...)")          \
    X(Shortcut, "SHORTCUT", "a created .lnk or .url file")                                               \
    X(RegKey, "REGKEY", "a created registry key, its path beginning with the root name")                 \
    X(RegVal, "REGVAL", "a written registry value: root, sub-key and value name")                        \
    X(RemKey, "REMKEY", "a class key to remove: HKEY_CLASSES_ROOT and the key")                          \
    X(NtService, "NTSERVICE", "the name of an installed service")                                        \
    X(Run3rd, "RUN3RD", "file name of the program the uninstaller runs first")                           \
    X(Run3rdCmd, "RUN3RDCMD", "that program's command line, placeholders expanded")                     \
    X(RemoveAll, "REMOVEALL", "Yes, written when the project's remove-all choice is No")                 \
    X(EnvAppend, "ENVAPPEND", "an item appended to a variable: path and text, see AppendedItem")         \
    X(RegOld, "REGOLD", "a value this run overwrote, to put back: see OldValue")                         \
    X(KeepFile, "KEEPFILE", "a file logged before its copy, which failed: left alone unless a later "    \
                            "FILE names it again")                                                       \
    X(Backup, "BACKUP", "a file the run replaced, moved aside to be put back: see MovedAside")           \
    X(RegPrev, "REGPREV", "a registry value of any type the run overwrote: see PreviousValue")           \
    X(IniFile, "INIFILE", "an INI file the run created: deleted once none of its entries is left")        \
    X(IniValue, "INIVAL", "an INI entry the run wrote, with what was there before: see IniEntry")        \
    X(EnvKept, "ENVKEPT", "a variable the run created that a removal leaves: only a rollback deletes it") \
    X(BackupSum, "BACKUPSUM", "what a backup outside the uninstall folder must hold: see BackupCheck")    \
    X(ServiceConfig, "SVCCONFIG", "a service's settings before the run changed them: see ServiceSettings") \
    X(UndoBy, "UNDOBY", "REMOVAL or ROLLBACK: the next record is undone by that only, see UndoPurpose") \
    X(InstallDir, "INSTALLDIR", "the installation folder, made by the run or not: removal checks for links from it") \
    X(LogFormat, "LOGFORMAT", "the log's format version, decimal: the first line of every log since 2")

// One kind of record per key. The key texts are those of KeyOf.
enum class LogKind {
#define CV_LOG_KIND_ENUM(name, key, meaning) name,
    CV_LOG_KINDS(CV_LOG_KIND_ENUM)
#undef CV_LOG_KIND_ENUM
    Unknown,  // a key none of the above: kept with its raw key text, never dropped
};

// Every known kind, in the list's order (Unknown is not one).
const std::vector<LogKind>& KnownLogKinds();

// The format this program writes, in the LOGFORMAT line that starts every
// log it makes. A log without that line is of format 1 (earlier versions of
// the product) and reads the same: the line only tells a later reader what
// to expect.
constexpr char kLogFormatVersion[] = "2";
// Lines that describe the log rather than a change to the machine: nothing
// to undo (the format, the number of file records).
bool IsHeaderKind(LogKind kind);

// What undoes a log: the removal of the product, or the rollback of the run
// that wrote it. Most records serve both. A run over an installed product
// also writes records for one of them only, each after an UNDOBY line:
// "REMOVAL" before what the product's earlier run made and this run found
// in place (the product's, but not this run's change: a rollback leaves it),
// "ROLLBACK" before what was there when this run began and the earlier run
// had made (a rollback puts it back; a removal puts back what was there
// before the product instead), "NEITHER" (below).
enum class UndoPurpose { Removal, Rollback };
constexpr char kUndoByRemoval[] = "REMOVAL";
constexpr char kUndoByRollback[] = "ROLLBACK";
// "NEITHER": the next record is undone by nothing. It tells the commit of a
// run over an installed product that the new version keeps, for good, what
// the earlier version made (a permanent item that was removable before).
constexpr char kUndoByNeither[] = "NEITHER";

struct LogRecord {
    LogKind kind = LogKind::Unknown;
    // The key text. For a known kind it equals KeyOf(kind); for Unknown it is
    // the raw key as read (the whole line when the line holds no "=").
    std::string key;
    std::string value;
};

// The key text of a kind; "" for Unknown.
const char* KeyOf(LogKind kind);
// The kind whose key is exactly `key` (case matters); Unknown for any other.
LogKind KindOfKey(const std::string& key);
// A record of a known kind with its key filled in.
LogRecord MakeLogRecord(LogKind kind, const std::string& value);

// True when the record can be written as one line: the value holds no CR or
// LF, and an Unknown key holds no "=", CR or LF. Such a line reads back as the
// same record, except an Unknown one whose key is a known key.
bool IsRepresentable(const LogRecord& record);
// "KEY=VALUE\r\n" (the key of a known kind comes from KeyOf, an Unknown
// record's from its key text). "" when the record is not representable: a
// real line is never empty.
std::string FormatLogLine(const LogRecord& record);
// Reads one line, with or without its CR LF or LF end, into `out`, splitting
// at the first "=". A key that no kind has, or a line without "=", gives an
// Unknown record (see LogRecord::key). False only for an empty line.
bool ParseLogLine(const std::string& line, LogRecord& out);

// Every record of a log text in file order. Lines end at LF, a CR just before
// the LF belongs to the line end; a last line without an end still counts;
// empty lines are skipped. Linear in the text's length.
std::vector<LogRecord> ParseUninstallLog(const std::string& text);
// The records of the log file at `path`; nullopt when it cannot be read.
std::optional<std::vector<LogRecord>> ReadUninstallLog(const std::string& path);

// The value of an ENVAPPEND record: the variable's root, key and name
// ("HKEY_CURRENT_USER\Environment\Path") and the text the run appended as
// one ";"-separated item of it. Written "PATH|TEXT": the path holds no "|",
// the text runs to the line end.
struct AppendedItem {
    std::string path;
    std::string text;
};
// "" when the item cannot be written (a "|" in the path).
std::string FormatAppendedItem(const AppendedItem& item);
bool ParseAppendedItem(const std::string& value, AppendedItem& out);

// The value of a REGOLD record: a text value (REG_SZ 1 or REG_EXPAND_SZ 2)
// that existed before the run and was overwritten by it, with its former
// text. The path is root, sub-key and value name as in REGVAL (the default
// value: the path ends with a backslash). Written "TYPE|PATH|TEXT": the type
// decimal, the path without "|", the text to the line end.
struct OldValue {
    unsigned long type = 1;
    std::string path;
    std::string text;
};
// "" when the value cannot be written (a "|" in the path, a type other than 1 or 2).
std::string FormatOldValue(const OldValue& value);
bool ParseOldValue(const std::string& value, OldValue& out);

// The value of a BACKUP record: a file that existed where the run placed
// one, moved aside (renamed, on the same volume) before the run replaced it.
// A rollback puts it back; a completed run deletes the backup. Written
// "PATH|BACKUP": neither path holds "|".
struct MovedAside {
    std::string path;    // where the file was and is put back
    std::string backup;  // where it waits meanwhile
};
// "" when the record cannot be written (an empty path or a "|" in one).
std::string FormatMovedAside(const MovedAside& moved);
bool ParseMovedAside(const std::string& value, MovedAside& out);

// The value of a BACKUPSUM record: the size and SHA-256 digest of the file a
// backup outside the uninstall folder holds (at a volume's root, where a
// rollback must not put back a file swapped meanwhile). Written
// "BACKUP|SIZE|DIGEST": the size decimal, the digest 64 lower-case hex digits.
struct BackupCheck {
    std::string backup;
    unsigned long long size = 0;
    std::string sha256;
};
// "" when it cannot be written (an empty backup path or one with "|", a
// digest that is not 64 characters).
std::string FormatBackupCheck(const BackupCheck& check);
bool ParseBackupCheck(const std::string& value, BackupCheck& out);

// The value of a REGPREV record: a registry value the project's registry
// entries overwrote, as it was before (any type, its bytes as stored).
// Written "TYPE|PATH|HEX": the type decimal, the path as in REGVAL without
// "|", the bytes as pairs of upper-case hex digits.
struct PreviousValue {
    unsigned long type = 0;
    std::string path;
    std::string bytes;
    // The bytes as the system's wide functions give them (a text in UTF-16,
    // every character kept), written "TYPE" "U"; without the letter (logs
    // of earlier versions) as the ANSI functions give them.
    bool wide = false;
};
// "" when the value cannot be written (an empty path or a "|" in it).
std::string FormatPreviousValue(const PreviousValue& value);
bool ParsePreviousValue(const std::string& value, PreviousValue& out);

// The value of an INIVAL record: an entry the run wrote into an INI file and
// what was there before it. Written "PATH|SECTION|KEY|STATE", STATE being
// "0" (neither the entry nor its section was there), "1" (the section was,
// the entry not) or "2" followed by the entry's former value (to the line
// end, "|" allowed). Path, section and key hold no "|".
struct IniEntry {
    enum class Before { Nothing = 0, SectionOnly = 1, Value = 2 };
    std::string path;
    std::string section;
    std::string key;
    Before before = Before::Nothing;
    std::string value;  // the former value, with Before::Value
};
// "" when the entry cannot be written (an empty path or key, a "|" in the
// path, section or key).
std::string FormatIniEntry(const IniEntry& entry);
bool ParseIniEntry(const std::string& value, IniEntry& out);

// The value of a SVCCONFIG record: "NAME|TYPE|START|ERROR|DISPLAY|COMMAND",
// the numbers decimal as the service control manager takes them; the
// command line last, so it may hold "|". Name and display name hold no "|".
struct ServiceSettings {
    std::string name;
    unsigned long type = 0;
    unsigned long startType = 0;
    unsigned long errorControl = 0;
    std::string displayName;
    std::string commandLine;
};
// "" when the settings cannot be written (an empty name, a "|" in the name
// or the display name).
std::string FormatServiceSettings(const ServiceSettings& settings);
bool ParseServiceSettings(const std::string& value, ServiceSettings& out);

// Where a product's log lies: its uninstall folder, which the file action
// creates, before placeholder expansion, as everyone's product keeps it
// (core::scope::UninstallFolderTemplate gives either scope's), and the log's
// name in it.
constexpr char kUninstallFolder[] = "<WindowsFolder>\\Installer\\<ProductCode>\\";
constexpr char kUninstallLogName[] = "uninstall.log";

// Appends records to the log of one run. Not thread-safe: one thread (the
// installation worker) writes while the run goes on.
class UninstallLogWriter {
public:
    UninstallLogWriter() = default;
    ~UninstallLogWriter();
    UninstallLogWriter(const UninstallLogWriter&) = delete;
    UninstallLogWriter& operator=(const UninstallLogWriter&) = delete;

    // Sets the log's path and deletes an existing file there, so that every
    // run starts a new log; its first line will be the format line.
    void Start(const std::string& path);
    // Sets the log's path to go on appending to the log there.
    void Continue(const std::string& path);
    // Appends one line "KEY=VALUE\r\n" and flushes it, so others may read the
    // log while the run goes on. The file is opened on first use and created
    // when missing, with its folder chain (the first line comes before the run
    // makes the uninstall folder). False, and nothing written, when the record
    // is not representable, no path was started or the file cannot be opened;
    // false too when the write fails, and the line is then lost.
    bool Append(LogKind kind, const std::string& value);
    bool Append(const LogRecord& record);
    // Puts the lines written so far on the disk (not only in the system's
    // cache): what a step that destroys something must find after a power
    // cut. True when there is nothing to write or it is written.
    bool Sync();
    // Closes the file; a later Append opens it again and goes on appending.
    void Close();
    const std::string& Path() const { return path_; }

private:
    bool Open();

    std::string path_;
    std::FILE* file_ = nullptr;
    bool formatLinePending_ = false;
};

}  // namespace core
