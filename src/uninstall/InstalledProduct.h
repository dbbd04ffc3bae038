// What the installation left for its uninstaller: the product's entry in the
// list of programs (the uninstall key under HKEY_LOCAL_MACHINE, see
// core/UninstallKey.h) and where its uninstall folder and log lie.
#pragma once

#include <string>

namespace uninstall {

struct InstalledProduct {
    std::string code;
    bool registered = false;  // the product's uninstall key exists
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

// Reads the registration of `code`; `registered` is false when its key does
// not exist (or cannot be read).
InstalledProduct ReadInstalledProduct(const std::string& code);

// "<WindowsFolder>\Installer\<code>\", with the trailing backslash.
std::string UninstallFolderOf(const std::string& code);
// The log in that folder.
std::string UninstallLogOf(const std::string& code);

// Deletes the product's uninstall key (it holds values only). False, and a
// trace line, when it could not be deleted.
bool RemoveRegistration(const std::string& code);

}  // namespace uninstall
