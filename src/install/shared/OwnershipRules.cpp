#include "install/shared/OwnershipRules.h"

#include "install/shared/UndoRules.h"

namespace install::ownership {

EarlierRecords::EarlierRecords(const std::vector<core::LogRecord>& records, unsigned codePage)
    : codePage_(codePage) {
    for (const core::LogRecord& r : records)
        if (r.kind != core::LogKind::Unknown && !core::IsHeaderKind(r.kind)) owned_.insert(KeyOf(r.kind, r.value));
}

bool EarlierRecords::Owns(core::LogKind kind, const std::string& value) const {
    return !owned_.empty() && owned_.count(KeyOf(kind, value)) > 0;
}

// The kind's key, then the value as folders compare (a trailing backslash
// or a letter's case makes no other path).
std::string EarlierRecords::KeyOf(core::LogKind kind, const std::string& value) const {
    return std::string(core::KeyOf(kind)) + "=" + undorules::ComparableFolder(value, codePage_);
}

std::vector<core::LogRecord> RecordsFor(const std::vector<core::LogRecord>& records, core::UndoPurpose purpose) {
    const char* other = purpose == core::UndoPurpose::Removal ? core::kUndoByRollback : core::kUndoByRemoval;
    std::vector<core::LogRecord> kept;
    kept.reserve(records.size());
    bool skipNext = false;
    for (const core::LogRecord& r : records) {
        if (r.kind == core::LogKind::UndoBy) {
            skipNext = r.value == other;
            continue;
        }
        if (!skipNext) kept.push_back(r);
        skipNext = false;
    }
    return kept;
}

namespace {

bool NeverLeftBehind(core::LogKind kind) {
    switch (kind) {
        case core::LogKind::RemoveAll:
        case core::LogKind::Run3rd:
        case core::LogKind::Run3rdCmd:
        case core::LogKind::Backup:
        case core::LogKind::BackupSum:
        case core::LogKind::Unknown: return true;
        default: return core::IsHeaderKind(kind);
    }
}

}  // namespace

std::vector<core::LogRecord> LeftBehind(const std::vector<core::LogRecord>& earlier,
                                        const std::vector<core::LogRecord>& current, unsigned codePage) {
    const EarlierRecords made(current, codePage);
    std::vector<core::LogRecord> left;
    for (const core::LogRecord& r : earlier) {
        // A file the new version keeps after a removal is not taken now.
        const bool keptNow = r.kind == core::LogKind::File && made.Owns(core::LogKind::KeepFile, r.value);
        if (!NeverLeftBehind(r.kind) && !keptNow && !made.Owns(r.kind, r.value)) left.push_back(r);
    }
    return left;
}

}  // namespace install::ownership
