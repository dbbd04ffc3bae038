#include "install/registry/RegistryValues.h"

#include <windows.h>

#include <cstdint>

#include "core/Registry.h"
#include "core/Settings.h"
#include "core/Trace.h"
#include "install/shared/EarlierOwnership.h"
#include "install/shared/SystemSettingRules.h"
#include "util/Text.h"

namespace install {

namespace {

namespace keys = core::keys::registrykeys;
namespace values = core::keys::registry;
using systemrules::ValueType;

// Settings count keys of these sections are read with 20 bytes.
constexpr int kCountSize = 20;

// The keys above `subKey` that do not exist yet, which creating it makes too:
// logged (the outermost first) so that a removal takes them away once empty;
// one the product's earlier run made stays the product's.
void LogParentsToMake(InstallContext& ctx, HKEY root, const std::string& path, const std::string& subKey) {
    const std::string rootName = path.substr(0, path.size() - subKey.size());
    for (size_t slash = subKey.find('\\'); slash != std::string::npos; slash = subKey.find('\\', slash + 1)) {
        const std::string parent = subKey.substr(0, slash);
        if (!core::registry::KeyExists(root, parent)) ctx.Log(core::LogKind::RegKey, rootName + parent);
        else if (ctx.EarlierRunOwned(core::LogKind::RegKey, rootName + parent))
            LogClaim(ctx, core::LogKind::RegKey, rootName + parent);
    }
}

// The project's keys, each logged so that the uninstaller removes it, with
// the keys above it that the run makes.
void CreateKeys(InstallContext& ctx) {
    const std::string& settings = ctx.Setup().settingsPath;
    const int total = core::settings::ReadInstallListCount(settings, keys::kSection, kCountSize);
    for (int i = 0; i < total; ++i) {
        const std::string path = ctx.Expand(util::text::WithoutTrailingBackslashes(
            core::settings::ReadListField(settings, keys::kSection, keys::kKeyPath, i)));
        std::string subKey;
        const HKEY root = core::registry::SplitRootPath(path, subKey);
        if (!root || subKey.empty()) continue;
        LogParentsToMake(ctx, root, path, subKey);
        ctx.Log(core::LogKind::RegKey, path);
        if (!core::registry::EnsureKey(root, subKey))
            core::trace::Failure("RegCreateKeyExA", path, GetLastError());
    }
}

// The bytes and registry type a value of `type` stores for `data`.
void Encode(ValueType type, const std::string& data, DWORD& regType, std::string& bytes) {
    switch (type) {
        case ValueType::DWord: {
            const uint32_t number = systemrules::ParseDoubleWord(data);
            regType = REG_DWORD;
            bytes.assign(reinterpret_cast<const char*>(&number), sizeof number);
            return;
        }
        case ValueType::Binary:  // the text's bytes and its zero, not decoded
            regType = REG_BINARY;
            bytes.assign(data.c_str(), data.size() + 1);
            return;
        case ValueType::String:
            regType = REG_SZ;
            bytes.assign(data.c_str(), data.size() + 1);
            return;
    }
}

// One value under a key that must exist already: a key the project did not
// create is not made here. A value of a type the engine does not know is
// neither written nor logged.
void WriteValue(InstallContext& ctx, int i) {
    const std::string& settings = ctx.Setup().settingsPath;
    const std::string key =
        ctx.Expand(core::settings::ReadListField(settings, values::kSection, values::kKey, i));
    const std::string name =
        core::settings::ReadListField(settings, values::kSection, values::kValueName, i);
    const std::string data =
        ctx.Expand(core::settings::ReadListField(settings, values::kSection, values::kData, i));
    const std::string typeText =
        core::settings::ReadListField(settings, values::kSection, values::kType, i);
    std::string subKey;
    const HKEY root = core::registry::SplitRootPath(key, subKey);
    if (!root) return;
    const std::optional<ValueType> type = systemrules::ParseValueType(typeText);
    // The uninstaller takes the text after the last backslash as the value's
    // name, so a key written without its closing backslash still gets one.
    const std::string path = util::text::WithoutTrailingBackslashes(key) + "\\" + name;
    const std::string bareSubKey = util::text::WithoutTrailingBackslashes(subKey);
    if (!type) return;  // nothing is written, so nothing is claimed
    LogPreviousValue(ctx, root, bareSubKey, name, path);
    ctx.Log(core::LogKind::RegVal, path);  // before the write: a run killed meanwhile still names it
    DWORD regType = REG_NONE;
    std::string bytes;
    Encode(*type, data, regType, bytes);
    if (!core::registry::WriteValue(root, bareSubKey, name, regType, bytes))
        core::trace::Failure("RegSetValueExA", key + "|" + name, GetLastError());
}

}  // namespace

ActionResult WriteRegistryValues(InstallContext& ctx) {
    CreateKeys(ctx);
    const std::string& settings = ctx.Setup().settingsPath;
    const int total = core::settings::ReadInstallListCount(settings, values::kSection, kCountSize);
    for (int i = 0; i < total; ++i) WriteValue(ctx, i);
    return ActionResult::Continue;
}

}  // namespace install
