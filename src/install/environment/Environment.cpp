#include "install/environment/Environment.h"

#include <windows.h>

#include <optional>

#include "core/Registry.h"
#include "core/Settings.h"
#include "core/Trace.h"
#include "install/shared/EarlierOwnership.h"
#include "install/shared/SystemNotify.h"
#include "install/shared/SystemSettingRules.h"

namespace install {

namespace {

namespace env = core::keys::envircv;

constexpr const char* kUserKey = systemrules::kUserEnvironmentKey;
constexpr const char* kSystemKey = systemrules::kMachineEnvironmentKey;
// Every field but the value is read with 100 bytes.
constexpr int kShortField = core::settings::kShortValueSize;

struct Variable {
    std::string name;
    std::string value;  // placeholders expanded
    bool removeNow = false;
    bool append = false;
    bool removeAtUninstall = false;
    HKEY root = nullptr;  // the user's or the machine's hive; null for an unknown scope
    const char* key = nullptr;
};

Variable ReadVariable(InstallContext& ctx, int i) {
    const std::string& settings = ctx.Setup().settingsPath;
    auto field = [&](const char* letter, int size) {
        return core::settings::ReadListField(settings, env::kSection, letter, i, size);
    };
    Variable v;
    v.name = field(env::kName, kShortField);
    v.value = ctx.Expand(field(env::kValue, core::settings::kValueSize));
    v.removeNow = field(env::kRemoveNow, kShortField) == "Remove";
    v.append = field(env::kAppend, kShortField) == "Append";
    v.removeAtUninstall = field(env::kRemoveAtUninstall, kShortField) == "Remove";
    const std::string scope = field(env::kScope, kShortField);
    if (scope == "User") {
        v.root = HKEY_CURRENT_USER;
        v.key = kUserKey;
    } else if (scope == "System") {
        v.root = HKEY_LOCAL_MACHINE;
        v.key = kSystemKey;
    }
    return v;
}

bool IsTextType(DWORD type) {
    return type == REG_SZ || type == REG_EXPAND_SZ;
}

// The variable's value whole, and the type it is stored with: a variable
// that exists keeps its type (a REG_EXPAND_SZ Path keeps expanding
// %SystemRoot%); a new one expands when its text holds "%".
struct Stored {
    std::string text;
    DWORD type = REG_SZ;
};

Stored StoredValue(const Variable& v, const std::string& newText) {
    Stored stored;
    const std::optional<core::registry::Value> current =
        core::registry::ReadValue(v.root, v.key, v.name);
    if (current && IsTextType(current->type)) {
        stored.text = std::string(current->bytes.c_str());
        stored.type = current->type;
    } else {
        stored.type = newText.find('%') != std::string::npos ? REG_EXPAND_SZ : REG_SZ;
    }
    return stored;
}

// What setting or appending writes: the whole text with its type; nullopt
// when an append finds the item there already.
std::optional<Stored> Planned(const Variable& v) {
    Stored stored = StoredValue(v, v.value);
    if (!v.append) {
        stored.text = v.value;
        return stored;
    }
    const std::optional<std::string> appended = systemrules::AppendItem(stored.text, v.value);
    if (!appended) return std::nullopt;  // already one of its items
    stored.text = *appended;
    return stored;
}

bool Write(const Variable& v, const Stored& stored) {
    if (core::registry::WriteValue(v.root, v.key, v.name, stored.type,
                                   std::string(stored.text.c_str(), stored.text.size() + 1)))
        return true;
    core::trace::Failure("RegSetValueExA", v.name, GetLastError());
    return false;
}

std::string PathOf(const Variable& v) {
    return std::string(core::registry::RootNameOf(v.root)) + "\\" + v.key + "\\" + v.name;
}

// What the uninstaller needs: an appended item is taken out of the variable
// again; a variable the run set is deleted.
void LogRemoval(InstallContext& ctx, const Variable& v) {
    const std::string path = PathOf(v);
    if (v.append && !v.removeNow) {
        const std::string item = core::FormatAppendedItem({path, v.value});
        if (!item.empty()) ctx.Log(core::LogKind::EnvAppend, item);
    } else {
        ctx.Log(core::LogKind::RegVal, path);
    }
}

}  // namespace

ActionResult WriteEnvironment(InstallContext& ctx) {
    const std::string& settings = ctx.Setup().settingsPath;
    const int total = core::settings::ReadInstallListCount(settings, env::kSection, kShortField);
    bool changed = false;
    for (int i = 0; i < total; ++i) {
        const std::string feature =
            core::settings::ReadListField(settings, env::kSection, env::kFeature, i, kShortField);
        if (ctx.Setup().features.IsExcluded(feature)) continue;
        const Variable v = ReadVariable(ctx, i);
        if (v.name.empty() || !v.root) continue;
        // Every record is written before the change it claims.
        if (v.removeNow) {
            LogPreviousValue(ctx, v.root, v.key, v.name, PathOf(v));
            if (v.removeAtUninstall) LogRemoval(ctx, v);
            changed = core::registry::DeleteValue(v.root, v.key, v.name) || changed;
            continue;
        }
        if (v.append && v.value.empty()) continue;
        const std::optional<Stored> planned = Planned(v);
        if (!v.append) LogPreviousValue(ctx, v.root, v.key, v.name, PathOf(v));
        // A variable the run creates and the project keeps: only a rollback takes it.
        if (!v.append && !v.removeAtUninstall && !core::registry::ReadValue(v.root, v.key, v.name))
            ctx.Log(core::LogKind::EnvKept, PathOf(v));
        // An item that was already there is the user's, unless the earlier
        // run appended it.
        const std::string appendedItem = v.append ? core::FormatAppendedItem({PathOf(v), v.value}) : std::string();
        const bool appendedEarlier = v.append && ctx.EarlierRunOwned(core::LogKind::EnvAppend, appendedItem);
        if (v.removeAtUninstall && (!v.append || planned)) LogRemoval(ctx, v);
        else if (v.removeAtUninstall && appendedEarlier) LogClaim(ctx, core::LogKind::EnvAppend, appendedItem);
        // The item the earlier version appended, which this one keeps for good.
        else if (appendedEarlier) LogKeptForGood(ctx, core::LogKind::EnvAppend, appendedItem);
        if (planned) changed = Write(v, *planned) || changed;
    }
    if (changed) AnnounceEnvironmentChange();
    return ActionResult::Continue;
}

}  // namespace install
