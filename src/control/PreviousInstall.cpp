#include "control/PreviousInstall.h"

#include "core/InstallScopeRules.h"
#include "core/Registry.h"
#include "core/UninstallKey.h"
#include "util/Text.h"

namespace control {

namespace {

namespace uninstallkey = core::uninstallkey;

HKEY RootOf(core::scope::InstallScope scope) {
    return core::registry::RootFromName(core::scope::UninstallRootName(scope));
}

// The earlier version is removed by the uninstaller of the scope it was
// registered in: everyone's and then the user's, when both are.
void RemoveEarlierVersion(const PreviousInstallActions& a) {
    const std::string arguments =
        a.expand(std::string(uninstallkey::kSilentRemoveOption) + " <ProductCode>");
    const std::string key = a.expand(uninstallkey::KeyPath("<ProductCode>"));
    for (const auto scope : {core::scope::InstallScope::AllUsers, core::scope::InstallScope::PerUser}) {
        if (core::registry::ReadText(RootOf(scope), key, "DisplayName").empty()) continue;
        a.runAndWait(a.expand(core::scope::UninstallerTemplate(scope)), arguments);
    }
}

// The folder the product was installed into, from the hive that holds its key.
std::string EarlierInstallFolder(const std::string& productCode) {
    const std::string key = uninstallkey::KeyPath(productCode);
    for (const auto scope : {core::scope::InstallScope::AllUsers, core::scope::InstallScope::PerUser}) {
        const std::string folder = core::registry::ReadText(RootOf(scope), key, "LastInstallationPath");
        if (!folder.empty()) return folder;
    }
    return std::string();
}

std::string ReadNamedValue(const std::string& fullPath) {
    std::string root, keyPath, valueName;
    if (!SplitRegistryValuePath(fullPath, root, keyPath, valueName)) return std::string();
    if (root == "HKEY_LOCAL_MACHINE") return core::registry::ReadMachineText(keyPath, valueName);
    if (root == "HKEY_CURRENT_USER") return core::registry::ReadUserText(keyPath, valueName);
    return std::string();
}

void TakeOverEarlierFolder(const PreviousInstallSettings& s, const PreviousInstallActions& a) {
    const std::string folder =
        s.detectMethod == "Auto-Detect"
            ? EarlierInstallFolder(s.productCode)
            : ReadNamedValue(s.registryPath);
    if (!folder.empty()) a.setInstallFolder(util::text::WithTrailingBackslash(folder));
}

}  // namespace

bool SplitRegistryValuePath(const std::string& full, std::string& root, std::string& keyPath,
                            std::string& valueName) {
    const size_t first = full.find('\\');
    const size_t last = full.rfind('\\');
    if (first == std::string::npos || last == first) return false;
    root = full.substr(0, first);
    keyPath = full.substr(first + 1, last - first - 1);
    valueName = full.substr(last + 1);
    return true;
}

void HandlePreviousInstallation(const PreviousInstallSettings& s, const PreviousInstallActions& a) {
    if (s.mode == "New Installation") {
        if (s.removeFirst == "Yes") RemoveEarlierVersion(a);
    } else if (s.mode == "Upgrade") {
        TakeOverEarlierFolder(s, a);
    }
}

}  // namespace control
