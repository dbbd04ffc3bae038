// The product's entry in the platform's list of programs and the command
// lines of the uninstaller it names: the installation writes them, the
// start-up reads them back to find and remove an earlier installation.
// Pure texts.
#pragma once

#include <string>

namespace core::uninstallkey {

// Under HKEY_LOCAL_MACHINE for everyone's product, HKEY_CURRENT_USER for a
// user's (core/InstallScopeRules.h); the product code follows, verbatim.
constexpr char kKeyPrefix[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";

// The uninstaller's name. Everyone's lies in the Windows folder, which is on
// every search path: their command lines name it without a folder
// (core/InstallScopeRules.h names a user's by its full path).
constexpr char kUninstallerName[] = "cvexec.exe";
// The language file of the setup's pages, copied into the uninstall folder
// so that the removal page speaks the same language.
constexpr char kPageLanguageFile[] = "pages.lan";

// What the uninstaller is asked to do; the product code follows each.
constexpr char kRemoveOption[] = "/R";
constexpr char kModifyOption[] = "/M";
// Silent removal; the quotes are part of the argument the uninstaller expects.
constexpr char kSilentRemoveOption[] = "\"/S\"";

// The product's key below the hive of its scope.
inline std::string KeyPath(const std::string& productCode) { return kKeyPrefix + productCode; }

// "cvexec.exe OPTION CODE": the product code goes unquoted, spaces and all
// (everyone's product; core::scope::UninstallerCommand gives either scope's).
inline std::string UninstallerCommand(const char* option, const std::string& productCode) {
    return std::string(kUninstallerName) + " " + option + " " + productCode;
}

}  // namespace core::uninstallkey
