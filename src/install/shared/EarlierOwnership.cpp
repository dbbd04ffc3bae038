#include "install/shared/EarlierOwnership.h"

#include <optional>

#include "core/Registry.h"
#include "install/shared/UndoRules.h"

namespace install {

ownership::PathKey SystemPathKey() {
    return [](const std::string& path) {
        std::string key = undorules::ComparableFolder(path, GetACP());
        if (!key.empty()) CharUpperBuffA(&key[0], static_cast<DWORD>(key.size()));
        return key;
    };
}

void LogClaim(InstallContext& ctx, core::LogKind kind, const std::string& value) {
    ctx.Log(core::LogKind::UndoBy, core::kUndoByRemoval);
    ctx.Log(kind, value);
}

void LogForRollback(InstallContext& ctx, core::LogKind kind, const std::string& value) {
    ctx.Log(core::LogKind::UndoBy, core::kUndoByRollback);
    ctx.Log(kind, value);
}

void LogKeptForGood(InstallContext& ctx, core::LogKind kind, const std::string& value) {
    ctx.Log(core::LogKind::UndoBy, core::kUndoByNeither);
    ctx.Log(kind, value);
}

namespace {

// The value path a line of the earlier log is about; "" for other lines.
std::string ValuePathOf(const core::LogRecord& record) {
    core::PreviousValue previous;
    if (record.kind == core::LogKind::RegPrev && core::ParsePreviousValue(record.value, previous))
        return previous.path;
    core::OldValue old;
    if (record.kind == core::LogKind::RegOld && core::ParseOldValue(record.value, old)) return old.path;
    if (record.kind == core::LogKind::RegVal || record.kind == core::LogKind::EnvKept) return record.value;
    return std::string();
}

bool IsFormerValue(core::LogKind kind) { return kind == core::LogKind::RegPrev || kind == core::LogKind::RegOld; }

}  // namespace

bool EarlierRunWroteValue(const InstallContext& ctx, const std::string& path) {
    const ownership::PathKey key = SystemPathKey();
    const std::string wanted = key(path);
    for (const core::LogRecord& earlier : ctx.EarlierLogged()) {
        const std::string about = ValuePathOf(earlier);
        if (!about.empty() && key(about) == wanted) return true;
    }
    return false;
}

void ClaimEarlierValueLines(InstallContext& ctx, const std::string& path, bool withWritten) {
    const ownership::PathKey key = SystemPathKey();
    const std::string wanted = key(path);
    for (const core::LogRecord& earlier : ctx.EarlierLogged()) {
        const bool wantedKind = IsFormerValue(earlier.kind) || (withWritten && earlier.kind == core::LogKind::RegVal);
        if (wantedKind && key(ValuePathOf(earlier)) == wanted) LogClaim(ctx, earlier.kind, earlier.value);
    }
}

void LogPreviousValue(InstallContext& ctx, HKEY root, const std::string& subKey, const std::string& name,
                      const std::string& path) {
    // Read as the system keeps it, so that putting it back loses no character.
    const std::optional<core::registry::Value> current = core::registry::ReadWideValue(root, subKey, name);
    const std::string now =
        current ? core::FormatPreviousValue({current->type, path, current->bytes, true}) : std::string();
    if (!EarlierRunWroteValue(ctx, path)) {
        if (!now.empty()) ctx.Log(core::LogKind::RegPrev, now);
        return;
    }
    ClaimEarlierValueLines(ctx, path, false);
    if (!now.empty()) LogForRollback(ctx, core::LogKind::RegPrev, now);
}

}  // namespace install
