// What the installation left for its uninstaller: the product's entry in the
// list of programs (the uninstall key under HKEY_LOCAL_MACHINE for everyone's
// product, under HKEY_CURRENT_USER for a user's, see core/UninstallKey.h and
// core/InstallScopeRules.h) and where its uninstall folder and log lie.
#pragma once

#include <string>

#include "core/InstallScopeRules.h"

namespace uninstall {

struct InstalledProduct {
    std::string code;
    bool registered = false;  // the product's uninstall key exists
    // Read from the hive that holds the key (core::scope::RegisteredScope).
    core::scope::InstallScope scope = core::scope::InstallScope::AllUsers;
    std::string displayName;  // "" when the project asked for no display registration
    std::string displayVersion;
    std::string publisher;
    std::string installSource;  // the folder the setup ran from
    std::string installFolder;  // LastInstallationPath, as written
    // The maintenance choices the project turned off (a REG_DWORD other than 0).
    bool noModify = false;
    bool noRemove = false;
    bool noRepair = false;

    // The name the pages and messages show: the display name, else the code.
    const std::string& ShownName() const { return displayName.empty() ? code : displayName; }
};

// Reads the registration of `code` from the hive of its scope; `registered`
// is false when neither hive holds its key (or it cannot be read).
InstalledProduct ReadInstalledProduct(const std::string& code);

// The uninstall folder of the scope, with the trailing backslash:
// "<WindowsFolder>\Installer\<code>\" or
// "<LocalAppDataFolder>\Corvane\Installer\<code>\".
std::string UninstallFolderOf(const std::string& code, core::scope::InstallScope scope);
// The log in that folder.
std::string UninstallLogOf(const std::string& code, core::scope::InstallScope scope);
// The uninstaller's folder of the scope, with the trailing backslash.
std::string UninstallerFolderOf(core::scope::InstallScope scope);

// Deletes the product's uninstall key in the hive of its scope (it holds
// values only). False, and a trace line, when it could not be deleted.
bool RemoveRegistration(const std::string& code, core::scope::InstallScope scope);

}  // namespace uninstall
