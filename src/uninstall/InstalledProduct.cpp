#include "uninstall/InstalledProduct.h"

#include <windows.h>

#include <cstring>

#include "core/Folders.h"
#include "core/Registry.h"
#include "core/Trace.h"
#include "core/UninstallKey.h"
#include "util/Text.h"

namespace uninstall {

namespace {

namespace reg = core::registry;

bool FlagSet(const std::string& key, const char* name) {
    const auto value = reg::ReadValue(HKEY_LOCAL_MACHINE, key, name);
    if (!value || value->type != REG_DWORD || value->bytes.size() != sizeof(DWORD)) return false;
    DWORD number = 0;
    std::memcpy(&number, value->bytes.data(), sizeof number);
    return number != 0;
}

}  // namespace

InstalledProduct ReadInstalledProduct(const std::string& code) {
    InstalledProduct p;
    p.code = code;
    const std::string key = core::uninstallkey::KeyPath(code);
    p.registered = reg::KeyExists(HKEY_LOCAL_MACHINE, key);
    if (!p.registered) return p;
    p.displayName = reg::ReadMachineText(key, "DisplayName");
    p.displayVersion = reg::ReadMachineText(key, "DisplayVersion");
    p.publisher = reg::ReadMachineText(key, "Publisher");
    p.installSource = reg::ReadMachineText(key, "InstallSource");
    p.installFolder = reg::ReadMachineText(key, "LastInstallationPath");
    p.noModify = FlagSet(key, "NoModify");
    p.noRemove = FlagSet(key, "NoRemove");
    p.noRepair = FlagSet(key, "NoRepair");
    return p;
}

std::string UninstallFolderOf(const std::string& code) {
    return util::text::WithTrailingBackslash(core::folders::WindowsFolder()) + "Installer\\" + code + "\\";
}

std::string UninstallLogOf(const std::string& code) { return UninstallFolderOf(code) + "uninstall.log"; }

bool RemoveRegistration(const std::string& code) {
    const std::string key = core::uninstallkey::KeyPath(code);
    const LONG result = RegDeleteKeyA(HKEY_LOCAL_MACHINE, key.c_str());
    if (result == ERROR_SUCCESS) return true;
    core::trace::Failure("RegDeleteKeyA", key, static_cast<unsigned long>(result));
    return false;
}

}  // namespace uninstall
