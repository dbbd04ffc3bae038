#include "install/environment/Environment.h"

#include <windows.h>

#include <optional>

#include "core/Registry.h"
#include "core/Settings.h"
#include "core/Trace.h"
#include "core/WideText.h"
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

// The variable's value whole, and the type it is stored with: a variable
// that exists keeps its type (a REG_EXPAND_SZ Path keeps expanding
// %SystemRoot%); a new one expands when its text holds "%". Read and written
// as the system keeps it, so that an append gives back every other item
// exactly, in whatever script it is written.
using Stored = core::registry::WideText;

Stored StoredValue(const Variable& v, const std::string& newText) {
    std::optional<Stored> current = core::registry::ReadWideText(v.root, v.key, v.name);
    if (current && (current->type == REG_SZ || current->type == REG_EXPAND_SZ)) return *current;
    Stored stored;
    stored.type = newText.find('%') != std::string::npos ? REG_EXPAND_SZ : REG_SZ;
    return stored;
}

// What setting or appending writes: the whole text with its type; nullopt
// when an append finds the item there already. The item is the project's
// text (ANSI); the list is compared and joined in UTF-8, which holds both.
std::optional<Stored> Planned(const Variable& v) {
    Stored stored = StoredValue(v, v.value);
    if (!v.append) {
        stored.text = core::wide::FromCodePage(v.value, CP_ACP);
        return stored;
    }
    const std::string list = core::wide::ToCodePage(stored.text, CP_UTF8);
    // A list that does not convert is left alone rather than replaced.
    if (list.empty() != stored.text.empty()) return std::nullopt;
    const std::optional<std::string> appended =
        systemrules::AppendItem(list, core::wide::ToCodePage(core::wide::FromCodePage(v.value, CP_ACP), CP_UTF8));
    if (!appended) return std::nullopt;  // already one of its items
    stored.text = core::wide::FromCodePage(*appended, CP_UTF8);
    return stored;
}

bool Write(const Variable& v, const Stored& stored) {
    if (core::registry::WriteWideText(v.root, v.key, v.name, stored)) return true;
    core::trace::Failure("RegSetValueExW", v.name, GetLastError());
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
