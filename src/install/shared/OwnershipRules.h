// What a run may claim as the product's when it finds something already in
// place: only what an earlier run of the same product logged. A record is a
// claim of ownership, so a run logs a folder it did not make or a file it
// did not place only when the product's earlier log already named it (a
// second run over the product keeps owning what the first one made).
#pragma once

#include <string>
#include <unordered_set>
#include <vector>

#include "core/UninstallLog.h"

namespace install::ownership {

class EarlierRecords {
public:
    EarlierRecords() = default;
    // The records of the product's earlier log; paths compare as the file
    // system and the registry do, ASCII letters in either case.
    explicit EarlierRecords(const std::vector<core::LogRecord>& records, unsigned codePage);
    // Whether the earlier log holds a record of this kind and value.
    bool Owns(core::LogKind kind, const std::string& value) const;

private:
    std::string KeyOf(core::LogKind kind, const std::string& value) const;

    unsigned codePage_ = 0;
    std::unordered_set<std::string> owned_;
};

// The records an undo for `purpose` acts on, in order: a record after an
// UNDOBY line for the other purpose is left out, and the UNDOBY lines too.
std::vector<core::LogRecord> RecordsFor(const std::vector<core::LogRecord>& records, core::UndoPurpose purpose);

// What the product's earlier run made that this run did not make again (a
// file the new version dropped, a value it no longer writes): the records
// of `earlier` (both logs as a removal reads them) that `current` does not
// hold, compared as EarlierRecords does. Header lines, the remove-all choice,
// the uninstall-time program and backups (gone once the earlier run ended)
// are never left behind.
std::vector<core::LogRecord> LeftBehind(const std::vector<core::LogRecord>& earlier,
                                        const std::vector<core::LogRecord>& current, unsigned codePage);

}  // namespace install::ownership
