// What a run may claim as the product's when it finds something already in
// place: only what an earlier run of the same product logged. A record is a
// claim of ownership, so a run logs a folder it did not make or a file it
// did not place only when the product's earlier log already named it (a
// second run over the product keeps owning what the first one made).
#pragma once

#include <functional>
#include <string>
#include <unordered_set>
#include <vector>

#include "core/UninstallLog.h"

namespace install::ownership {

// The form paths, keys and names are compared in. The default folds ASCII
// letters and trailing backslashes (undorules::ComparableFolder); on Windows
// the engine passes one that folds every letter of the code page, as the
// file system and the registry do.
using PathKey = std::function<std::string(const std::string&)>;
PathKey AsciiPathKey(unsigned codePage);

class EarlierRecords {
public:
    EarlierRecords() = default;
    explicit EarlierRecords(const std::vector<core::LogRecord>& records, PathKey key);
    // Whether the earlier log holds a record of this kind and value.
    bool Owns(core::LogKind kind, const std::string& value) const;

private:
    std::string KeyOf(core::LogKind kind, const std::string& value) const;

    PathKey key_;
    std::unordered_set<std::string> owned_;
};

// The records an undo for `purpose` acts on, in order: a record after an
// UNDOBY line for the other purpose (or for neither) is left out, and the
// UNDOBY lines too.
std::vector<core::LogRecord> RecordsFor(const std::vector<core::LogRecord>& records, core::UndoPurpose purpose);

// What a record is about, whatever its kind: a file or shortcut path, a
// folder, a registry value (written, or one whose former value is kept), a
// key, a class key, an INI entry, an appended item, a service. "" for the
// lines that are about nothing on the machine.
std::string TargetOf(const core::LogRecord& record, const PathKey& key);

// What the product's earlier run made that this run did not touch at all
// (a file the new version dropped, a value it no longer writes): the records
// of `earlier` (as a removal reads them) about a target no record of
// `current` (the whole log, every line) is about. Header lines, the
// remove-all choice, the uninstall-time program and backups (gone once the
// earlier run ended) are never left behind.
std::vector<core::LogRecord> LeftBehind(const std::vector<core::LogRecord>& earlier,
                                        const std::vector<core::LogRecord>& current, const PathKey& key);

}  // namespace install::ownership
