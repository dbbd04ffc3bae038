#include "install/registry/RemoveRegistry.h"

#include <windows.h>

#include <algorithm>
#include <optional>

#include "core/Registry.h"
#include "core/Trace.h"
#include "install/shared/SystemNotify.h"
#include "install/shared/UndoRules.h"
#include "util/Text.h"

namespace install {

namespace {

using core::LogKind;

// Where a logged value lies. A value of a root key itself is never one the
// run wrote: such a path is refused.
struct ValueLocation {
    HKEY root = nullptr;
    std::string key;
    std::string name;
};

std::optional<ValueLocation> Locate(const std::string& valuePath) {
    const std::optional<undorules::ValuePath> split = undorules::SplitValuePath(valuePath, GetACP());
    if (!split) return std::nullopt;
    ValueLocation at;
    at.root = core::registry::SplitRootPath(split->key, at.key);
    if (!at.root || at.key.empty()) return std::nullopt;
    at.name = split->name;
    return at;
}

void RemoveKeyIfEmpty(UndoContext& context, const std::string& keyPath) {
    std::string path;
    const HKEY root = core::registry::SplitRootPath(util::text::WithoutTrailingBackslashes(keyPath), path);
    if (!root || path.empty() || !core::registry::KeyExists(root, path)) return;
    if (core::registry::DeleteEmptyKey(root, path)) return;
    if (core::registry::KeyIsEmpty(root, path)) context.LeftOver(keyPath);
    else core::trace::Value("registry key kept, not empty", keyPath);
}

// A class key the run created, with everything below it. Only class keys:
// a damaged log must not take a tree of the machine's settings with it.
bool RemoveClassKey(UndoContext& context, const std::string& keyPath) {
    std::string path;
    const HKEY root = core::registry::SplitRootPath(util::text::WithoutTrailingBackslashes(keyPath), path);
    if (root != HKEY_CLASSES_ROOT || path.empty()) {
        core::trace::Value("class key refused", keyPath);
        return false;
    }
    if (!core::registry::DeleteKeyTree(root, path)) context.LeftOver(keyPath);
    return true;
}

// The classes the log names under HKEY_CLASSES_ROOT (the first part of each
// REMKEY, REGOLD and REGVAL path there): what an extension of the run points at.
std::vector<std::string> ClassesOfTheRun(const UndoContext& context) {
    static const std::string kRoot = "HKEY_CLASSES_ROOT\\";
    std::vector<std::string> classes;
    for (const core::LogRecord& record : context.Records()) {
        std::string path = record.value;
        core::OldValue old;
        if (record.kind == LogKind::RegOld && core::ParseOldValue(record.value, old)) path = old.path;
        else if (record.kind != LogKind::RemKey && record.kind != LogKind::RegVal) continue;
        if (path.compare(0, kRoot.size(), kRoot) != 0) continue;
        const std::string rest = path.substr(kRoot.size());
        const std::string name = rest.substr(0, rest.find('\\'));
        if (!name.empty() && name[0] != '.') classes.push_back(name);
    }
    return classes;
}

// An extension key the run created held one value of the run's: the class
// it points at. While it still does, that value goes, and the key with it
// when nothing else is in it; a program that took the extension over since,
// or added to it (OpenWithProgids), keeps its registration.
// The key is read in the machine's classes, where the run created it: the
// merged view would show a user's own key of that name instead, and the user
// could steer the removal with it.
bool RemoveExtensionKey(const std::string& keyPath, const std::vector<std::string>& classes) {
    std::string extension;
    if (core::registry::SplitRootPath(util::text::WithoutTrailingBackslashes(keyPath), extension) != HKEY_CLASSES_ROOT ||
        extension.empty())
        return false;
    const HKEY root = HKEY_LOCAL_MACHINE;
    const std::string path = "Software\\Classes\\" + extension;
    if (!core::registry::KeyExists(root, path)) return false;
    const std::string points = core::registry::ReadText(root, path, "");
    bool ours = points.empty();
    for (const std::string& name : classes) ours = ours || util::text::EqualsIgnoringAsciiCase(name, points);
    if (!ours) {
        core::trace::Value("extension kept, another program took it over", keyPath);
        return false;
    }
    core::registry::DeleteValue(root, path, "");
    if (!core::registry::DeleteEmptyKey(root, path)) core::trace::Value("extension key kept, not empty", keyPath);
    return true;
}

bool IsExtensionKey(const std::string& keyPath) {
    const size_t cut = keyPath.find_last_of('\\', keyPath.size() - 1);
    return cut != std::string::npos && cut + 1 < keyPath.size() && keyPath[cut + 1] == '.' &&
           keyPath.compare(0, cut, "HKEY_CLASSES_ROOT") == 0;
}

// Writes a class value back as it was before the run. A key that is gone
// since has nothing to take the value.
bool PutBack(UndoContext& context, const std::string& recordValue) {
    core::OldValue old;
    std::optional<ValueLocation> at;
    if (!core::ParseOldValue(recordValue, old) || !(at = Locate(old.path))) {
        core::trace::Value("unreadable REGOLD", recordValue);
        context.LeftOver(recordValue);  // the value it names keeps the run's text
        return false;
    }
    if (!core::registry::KeyExists(at->root, at->key)) return false;
    if (!core::registry::WriteValue(at->root, at->key, at->name, old.type,
                                    std::string(old.text.c_str(), old.text.size() + 1)))
        context.LeftOver(old.path);
    return true;
}

void WritePreviousValue(UndoContext& context, const std::string& recordValue) {
    core::PreviousValue previous;
    std::optional<ValueLocation> at;
    if (!core::ParsePreviousValue(recordValue, previous) || !(at = Locate(previous.path))) {
        core::trace::Value("unreadable REGPREV", recordValue);
        context.LeftOver(recordValue);  // what was there before is not put back
        return;
    }
    // A key that is gone since (the user or another product removed it) has
    // nothing left to give the value back to: that is not a removal's failure.
    if (!core::registry::KeyExists(at->root, at->key)) {
        core::trace::Value("previous value not put back, its key is gone", previous.path);
        return;
    }
    const bool written =
        previous.wide ? core::registry::WriteWideValue(at->root, at->key, at->name, previous.type, previous.bytes)
                      : core::registry::WriteValue(at->root, at->key, at->name, previous.type, previous.bytes);
    if (!written) context.LeftOver(previous.path);
}

}  // namespace

bool RemoveLoggedValue(UndoContext& context, const std::string& valuePath) {
    const std::optional<ValueLocation> at = Locate(valuePath);
    if (!at) {
        core::trace::Value("value path refused", valuePath);
        return false;
    }
    if (core::registry::DeleteValue(at->root, at->key, at->name)) return true;
    if (core::registry::ReadValue(at->root, at->key, at->name)) context.LeftOver(valuePath);
    return false;
}

void RemoveRegistryValues(UndoContext& context) {
    const unsigned codePage = GetACP();
    for (const core::LogRecord* record : NewestFirst(context, LogKind::RegVal)) {
        if (undorules::IsEnvironmentVariable(record->value, codePage)) continue;  // RestoreEnvironment's
        RemoveLoggedValue(context, record->value);
        context.Advance();
    }
    // Values the run overwrote get their former type and bytes back, the
    // oldest record last: it holds what was there before the run.
    for (const core::LogRecord* record : NewestFirst(context, LogKind::RegPrev)) {
        WritePreviousValue(context, record->value);
        context.Advance();
    }
    std::vector<const core::LogRecord*> keys = NewestFirst(context, LogKind::RegKey);
    std::stable_sort(keys.begin(), keys.end(), [codePage](const core::LogRecord* a, const core::LogRecord* b) {
        return undorules::Depth(a->value, codePage) > undorules::Depth(b->value, codePage);
    });
    for (const core::LogRecord* key : keys) {
        RemoveKeyIfEmpty(context, key->value);
        context.Advance();
    }
}

void UnregisterAssociations(UndoContext& context) {
    bool changed = false;
    const std::vector<std::string> classes = ClassesOfTheRun(context);
    const std::vector<core::LogRecord>& records = context.Records();
    for (auto it = records.rbegin(); it != records.rend(); ++it) {
        if (it->kind == LogKind::RemKey && IsExtensionKey(it->value))
            changed = RemoveExtensionKey(it->value, classes) || changed;
        else if (it->kind == LogKind::RemKey) changed = RemoveClassKey(context, it->value) || changed;
        else if (it->kind == LogKind::RegOld) changed = PutBack(context, it->value) || changed;
        else continue;
        context.Advance();
    }
    if (changed) AnnounceAssociationChange();
}

}  // namespace install
