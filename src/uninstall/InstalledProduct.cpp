#include "uninstall/InstalledProduct.h"

#include <windows.h>
#include <shlobj.h>

#include <cstring>

#include "core/Folders.h"
#include "core/Placeholders.h"
#include "core/Registry.h"
#include "core/Trace.h"
#include "core/TraceNames.h"
#include "core/UninstallKey.h"
#include "core/UninstallLog.h"
#include "util/Text.h"

namespace uninstall {

namespace {

namespace reg = core::registry;
namespace scope = core::scope;

HKEY RootOf(scope::InstallScope s) { return reg::RootFromName(scope::UninstallRootName(s)); }

bool FlagSet(HKEY root, const std::string& key, const char* name) {
    const auto value = reg::ReadValue(root, key, name);
    if (!value || value->type != REG_DWORD || value->bytes.size() != sizeof(DWORD)) return false;
    DWORD number = 0;
    std::memcpy(&number, value->bytes.data(), sizeof number);
    return number != 0;
}

// The scope's places name only these two folders and the product code.
std::string ExpandPlace(const char* text, const std::string& code) {
    core::PlaceholderValues values;
    values.windowsFolder = util::text::WithoutTrailingBackslashes(core::folders::WindowsFolder());
    values.localAppDataFolder =
        util::text::WithoutTrailingBackslashes(core::folders::SpecialFolder(CSIDL_LOCAL_APPDATA));
    values.productCode = code;
    return core::ExpandSetupText(text, values);
}

bool RunsFromUserFolder() {
    char path[MAX_PATH] = "";
    const DWORD length = GetModuleFileNameA(nullptr, path, sizeof path);
    if (length == 0 || length >= sizeof path) return false;
    std::string folder(path, length);
    folder.erase(folder.find_last_of('\\') + 1);
    return util::text::EqualsIgnoringAsciiCase(folder, UninstallerFolderOf(scope::InstallScope::PerUser));
}

}  // namespace

InstalledProduct ReadInstalledProduct(const std::string& code) {
    InstalledProduct p;
    p.code = code;
    const std::string key = core::uninstallkey::KeyPath(code);
    const bool machine = reg::KeyExists(HKEY_LOCAL_MACHINE, key);
    const bool user = reg::KeyExists(HKEY_CURRENT_USER, key);
    p.scope = scope::RegisteredScope(machine, user, RunsFromUserFolder());
    core::trace::Value(core::tracenames::kInstallScope, scope::ScopeName(p.scope));
    p.registered = machine || user;
    if (!p.registered) return p;
    const HKEY root = RootOf(p.scope);
    p.displayName = reg::ReadText(root, key, "DisplayName");
    p.displayVersion = reg::ReadText(root, key, "DisplayVersion");
    p.publisher = reg::ReadText(root, key, "Publisher");
    p.installSource = reg::ReadText(root, key, "InstallSource");
    p.installFolder = reg::ReadText(root, key, "LastInstallationPath");
    p.noModify = FlagSet(root, key, "NoModify");
    p.noRemove = FlagSet(root, key, "NoRemove");
    p.noRepair = FlagSet(root, key, "NoRepair");
    return p;
}

std::string UninstallFolderOf(const std::string& code, scope::InstallScope s) {
    return ExpandPlace(scope::UninstallFolderTemplate(s), code);
}

std::string UninstallLogOf(const std::string& code, scope::InstallScope s) {
    return UninstallFolderOf(code, s) + core::kUninstallLogName;
}

std::string UninstallerFolderOf(scope::InstallScope s) {
    return ExpandPlace(scope::UninstallerFolderTemplate(s), std::string());
}

bool RemoveRegistration(const std::string& code, scope::InstallScope s) {
    const std::string key = core::uninstallkey::KeyPath(code);
    const LONG result = RegDeleteKeyA(RootOf(s), key.c_str());
    if (result == ERROR_SUCCESS) return true;
    core::trace::Failure("RegDeleteKeyA", key, static_cast<unsigned long>(result));
    return false;
}

}  // namespace uninstall
