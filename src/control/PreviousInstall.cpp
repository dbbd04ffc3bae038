#include "control/PreviousInstall.h"

#include "core/Registry.h"
#include "core/UninstallKey.h"
#include "util/Text.h"

namespace control {

namespace {

namespace uninstallkey = core::uninstallkey;

void RemoveEarlierVersion(const PreviousInstallActions& a) {
    const std::string program = a.expand(std::string("<WindowsFolder>\\") + uninstallkey::kUninstallerName);
    const std::string arguments =
        a.expand(std::string(uninstallkey::kSilentRemoveOption) + " <ProductCode>");
    const std::string key = a.expand(uninstallkey::KeyPath("<ProductCode>"));
    if (!core::registry::ReadMachineText(key, "DisplayName").empty()) a.runAndWait(program, arguments);
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
            ? core::registry::ReadMachineText(uninstallkey::KeyPath(s.productCode), "LastInstallationPath")
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
