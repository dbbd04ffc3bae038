// The product's entry in the platform's list of programs and the command
// lines of the uninstaller it names: the installation writes them, the
// start-up reads them back to find and remove an earlier installation.
// Pure texts.
#pragma once

#include <string>

namespace core::uninstallkey {

// Under HKEY_LOCAL_MACHINE; the product code follows, used verbatim.
constexpr char kKeyPrefix[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";

// The uninstaller, placed in the Windows folder, which is on every search
// path: the registered command lines name it without a folder.
constexpr char kUninstallerName[] = "cvexec.exe";
// The language file of the setup's pages, copied into the uninstall folder
// so that the removal page speaks the same language.
constexpr char kPageLanguageFile[] = "pages.lan";

// What the uninstaller is asked to do; the product code follows each.
constexpr char kRemoveOption[] = "/R";
constexpr char kModifyOption[] = "/M";
// Silent removal; the quotes are part of the argument the uninstaller expects.
constexpr char kSilentRemoveOption[] = "\"/S\"";

// The product's key below HKEY_LOCAL_MACHINE.
inline std::string KeyPath(const std::string& productCode) { return kKeyPrefix + productCode; }

// "cvexec.exe OPTION CODE": the product code goes unquoted, spaces and all.
inline std::string UninstallerCommand(const char* option, const std::string& productCode) {
    return std::string(kUninstallerName) + " " + option + " " + productCode;
}

}  // namespace core::uninstallkey
