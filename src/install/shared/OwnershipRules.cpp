#include "install/shared/OwnershipRules.h"

#include <utility>

#include "install/shared/UndoRules.h"

namespace install::ownership {

PathKey AsciiPathKey(unsigned codePage) {
    return [codePage](const std::string& path) { return undorules::ComparableFolder(path, codePage); };
}

EarlierRecords::EarlierRecords(const std::vector<core::LogRecord>& records, PathKey key) : key_(std::move(key)) {
    for (const core::LogRecord& r : records)
        if (r.kind != core::LogKind::Unknown && !core::IsHeaderKind(r.kind)) owned_.insert(KeyOf(r.kind, r.value));
}

bool EarlierRecords::Owns(core::LogKind kind, const std::string& value) const {
    return !owned_.empty() && owned_.count(KeyOf(kind, value)) > 0;
}

// The kind's key, then the value as paths compare (a trailing backslash or
// a letter's case makes no other path).
std::string EarlierRecords::KeyOf(core::LogKind kind, const std::string& value) const {
    return std::string(core::KeyOf(kind)) + "=" + key_(value);
}

std::vector<core::LogRecord> RecordsFor(const std::vector<core::LogRecord>& records, core::UndoPurpose purpose) {
    const std::string wanted = purpose == core::UndoPurpose::Removal ? core::kUndoByRemoval : core::kUndoByRollback;
    std::vector<core::LogRecord> kept;
    kept.reserve(records.size());
    bool skipNext = false;
    for (const core::LogRecord& r : records) {
        if (r.kind == core::LogKind::UndoBy) {
            skipNext = r.value != wanted;
            continue;
        }
        if (!skipNext) kept.push_back(r);
        skipNext = false;
    }
    return kept;
}

std::string TargetOf(const core::LogRecord& r, const PathKey& key) {
    using core::LogKind;
    switch (r.kind) {
        case LogKind::File:
        case LogKind::KeepFile:
        case LogKind::Shortcut:
        case LogKind::IniFile: return "path:" + key(r.value);
        case LogKind::Dir: return "dir:" + key(r.value);
        case LogKind::RegVal:
        case LogKind::EnvKept: return "value:" + key(r.value);
        case LogKind::RegKey: return "key:" + key(r.value);
        case LogKind::RemKey: return "class:" + key(r.value);
        case LogKind::NtService: return "service:" + key(r.value);
        default: break;
    }
    core::PreviousValue previous;
    if (r.kind == LogKind::RegPrev && core::ParsePreviousValue(r.value, previous)) return "value:" + key(previous.path);
    core::OldValue old;
    if (r.kind == LogKind::RegOld && core::ParseOldValue(r.value, old)) return "value:" + key(old.path);
    core::IniEntry entry;
    if (r.kind == LogKind::IniValue && core::ParseIniEntry(r.value, entry))
        return "ini:" + key(entry.path) + "|" + key(entry.section) + "|" + key(entry.key);
    core::AppendedItem item;
    if (r.kind == LogKind::EnvAppend && core::ParseAppendedItem(r.value, item))
        return "append:" + key(item.path) + "|" + key(item.text);
    core::ServiceSettings service;
    if (r.kind == LogKind::ServiceConfig && core::ParseServiceSettings(r.value, service))
        return "service:" + key(service.name);
    return std::string();
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
                                        const std::vector<core::LogRecord>& current, const PathKey& key) {
    std::unordered_set<std::string> touched;
    for (const core::LogRecord& r : current) touched.insert(TargetOf(r, key));
    std::vector<core::LogRecord> left;
    for (const core::LogRecord& r : earlier) {
        if (NeverLeftBehind(r.kind)) continue;
        const std::string target = TargetOf(r, key);
        // A line that cannot be read is about something: the removal reports it.
        if (target.empty() || !touched.count(target)) left.push_back(r);
    }
    return left;
}

}  // namespace install::ownership
