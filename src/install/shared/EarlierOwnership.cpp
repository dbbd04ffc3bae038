#include "install/shared/EarlierOwnership.h"

#include <optional>

#include "core/Registry.h"
#include "util/Text.h"

namespace install {

void LogClaim(InstallContext& ctx, core::LogKind kind, const std::string& value) {
    ctx.Log(core::LogKind::UndoBy, core::kUndoByRemoval);
    ctx.Log(kind, value);
}

void LogForRollback(InstallContext& ctx, core::LogKind kind, const std::string& value) {
    ctx.Log(core::LogKind::UndoBy, core::kUndoByRollback);
    ctx.Log(kind, value);
}

void LogPreviousValue(InstallContext& ctx, HKEY root, const std::string& subKey, const std::string& name,
                      const std::string& path) {
    const std::optional<core::registry::Value> current = core::registry::ReadValue(root, subKey, name);
    const std::string now = current ? core::FormatPreviousValue({current->type, path, current->bytes}) : std::string();
    const bool setEarlier =
        ctx.EarlierRunOwned(core::LogKind::RegVal, path) || ctx.EarlierRunOwned(core::LogKind::EnvKept, path);
    if (!setEarlier) {
        if (!now.empty()) ctx.Log(core::LogKind::RegPrev, now);
        return;
    }
    for (const core::LogRecord& earlier : ctx.EarlierLogged()) {
        core::PreviousValue previous;
        if (earlier.kind == core::LogKind::RegPrev && core::ParsePreviousValue(earlier.value, previous) &&
            util::text::EqualsIgnoringAsciiCase(previous.path, path))
            LogClaim(ctx, core::LogKind::RegPrev, earlier.value);
    }
    if (!now.empty()) LogForRollback(ctx, core::LogKind::RegPrev, now);
}

}  // namespace install
