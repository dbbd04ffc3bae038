#include "core/InstallScopeRules.h"

#include "util/Text.h"

namespace core::scope {

InstallScope ScopeAtStart(const std::string& setting, bool administrator) {
    if (setting == kPerUserSetting) return InstallScope::PerUser;
    if (setting == kAllUsersSetting) return InstallScope::AllUsers;
    return administrator ? InstallScope::AllUsers : InstallScope::PerUser;
}

ScopeChoice ScopeOfChoice(InstallScope current, const std::string& setting, bool anyone, bool administrator) {
    if (!anyone) return {InstallScope::PerUser, ChoiceRefusal::None};
    if (setting == kPerUserSetting) return {current, ChoiceRefusal::ProjectIsPerUser};
    if (!administrator) return {current, ChoiceRefusal::NeedsAdministrator};
    return {InstallScope::AllUsers, ChoiceRefusal::None};
}

const char* UninstallRootName(InstallScope scope) {
    return scope == InstallScope::PerUser ? "HKEY_CURRENT_USER" : "HKEY_LOCAL_MACHINE";
}

const char* UninstallFolderTemplate(InstallScope scope) {
    return scope == InstallScope::PerUser ? "<LocalAppDataFolder>\\Corvane\\Installer\\<ProductCode>\\"
                                          : "<WindowsFolder>\\Installer\\<ProductCode>\\";
}

const char* UninstallerFolderTemplate(InstallScope scope) {
    return scope == InstallScope::PerUser ? "<LocalAppDataFolder>\\Corvane\\" : "<WindowsFolder>\\";
}

const char* UninstallerTemplate(InstallScope scope) {
    return scope == InstallScope::PerUser ? "<LocalAppDataFolder>\\Corvane\\cvexec.exe"
                                          : "<WindowsFolder>\\cvexec.exe";
}

std::string UninstallerCommand(InstallScope scope, const std::string& uninstallerPath, const char* option,
                               const std::string& productCode) {
    const std::string program = scope == InstallScope::PerUser ? "\"" + uninstallerPath + "\"" : "cvexec.exe";
    return program + " " + option + " " + productCode;
}

InstallScope RegisteredScope(bool machineKey, bool userKey, bool runsFromUserFolder) {
    if (machineKey && userKey) return runsFromUserFolder ? InstallScope::PerUser : InstallScope::AllUsers;
    return userKey ? InstallScope::PerUser : InstallScope::AllUsers;
}

std::string MachineFolderOf(const std::string& text) {
    size_t first = std::string::npos;
    std::string named;
    for (const char* folder : {"<ProgramFilesFolder>", "<CommonFilesFolder>", "<WindowsFolder>", "<SystemFolder>"}) {
        const size_t at = text.find(folder);
        if (at < first) {
            first = at;
            named = folder;
        }
    }
    return named;
}

const char* ScopeName(InstallScope scope) {
    return scope == InstallScope::PerUser ? kPerUserSetting : kAllUsersSetting;
}

namespace {

// The part of `folder` below `root` ("Desktop" for "C:\Users\a\Desktop"
// below "C:\Users\a"), or "" when it does not lie below it.
std::string RelativeBelow(const std::string& folder, const std::string& root) {
    if (root.empty() || folder.size() <= root.size() + 1 || folder[root.size()] != '\\') return std::string();
    if (!util::text::EqualsIgnoringAsciiCase(folder.substr(0, root.size()), root)) return std::string();
    return folder.substr(root.size() + 1);
}

void AddOnce(std::vector<std::string>& folders, const std::string& folder) {
    for (const std::string& known : folders)
        if (util::text::EqualsIgnoringAsciiCase(known, folder)) return;
    folders.push_back(folder);
}

}  // namespace

std::vector<std::string> ProfileFolders(const std::vector<std::string>& ownFolders, const std::string& ownProfile,
                                        const std::vector<std::string>& otherProfiles) {
    const std::string own = util::text::WithoutTrailingBackslashes(ownProfile);
    std::vector<std::string> relative;
    for (const std::string& folder : ownFolders) {
        const std::string below = RelativeBelow(util::text::WithoutTrailingBackslashes(folder), own);
        if (!below.empty()) AddOnce(relative, below);
    }
    std::vector<std::string> result;
    for (const std::string& other : otherProfiles) {
        const std::string profile = util::text::WithoutTrailingBackslashes(other);
        if (profile.empty() || util::text::EqualsIgnoringAsciiCase(profile, own)) continue;
        AddOnce(result, profile);
        for (const std::string& below : relative) AddOnce(result, profile + "\\" + below);
    }
    return result;
}

}  // namespace core::scope
