// The installation scope: whether a product is installed for everyone who
// uses the machine or only for the user who runs the setup, and every place
// that follows from it (the column of the special folders, the hive of the
// uninstall key, the uninstall folder, the uninstaller's place and command
// lines, the folders a removal protects). One portable rule set, so that
// the setup, the uninstaller and the tests agree; the Win32 reads stay in
// the helpers that call it.
#pragma once

#include <string>
#include <vector>

namespace core::scope {

enum class InstallScope { AllUsers, PerUser };

// The values of APPINFO a8.
constexpr char kAllUsersSetting[] = "All-Users";
constexpr char kPerUserSetting[] = "Per-User";

// The scope a run starts with. "Per-User" and "All-Users" are kept as
// written; a project that leaves a8 out installs for everyone when the run
// has administrator rights and for the user alone otherwise (a standard user
// can write neither HKEY_LOCAL_MACHINE nor the shared folders).
InstallScope ScopeAtStart(const std::string& setting, bool administrator);

// Why a choice on the customer page was not taken.
enum class ChoiceRefusal {
    None,
    ProjectIsPerUser,     // the project installs for the current user only (a8=Per-User)
    NeedsAdministrator,   // "anyone" without administrator rights
};

struct ScopeChoice {
    InstallScope scope;     // the scope after the choice (the current one when refused)
    ChoiceRefusal refusal;  // None when the choice was taken
};

// The customer page's "anyone" (true) or "only for me" (false) choice over
// the `current` scope. "Only for me" is always taken. "Anyone" is refused
// when the project is per-user (its package asks for no elevation, so it
// cannot write for everyone) or the run lacks administrator rights.
ScopeChoice ScopeOfChoice(InstallScope current, const std::string& setting, bool anyone, bool administrator);

// Whether the special folders come from the all-users column (common Start
// menu, common desktop, common application data...).
inline bool UsesCommonFolders(InstallScope scope) { return scope == InstallScope::AllUsers; }

// The hive of the product's uninstall key, as the log and the list of
// programs name it.
const char* UninstallRootName(InstallScope scope);

// The uninstall folder and the uninstaller, as placeholder texts the
// expansions turn into paths. Everyone's live in the Windows folder; a
// user's under that user's local application data, where the user may
// write and no other product's elevated uninstaller is replaced.
const char* UninstallFolderTemplate(InstallScope scope);  // trailing backslash
const char* UninstallerFolderTemplate(InstallScope scope);  // trailing backslash
const char* UninstallerTemplate(InstallScope scope);

// The command line the list of programs runs: "cvexec.exe OPTION CODE" for
// everyone's product (the Windows folder is on every search path); the
// uninstaller's full path, quoted, for a user's.
std::string UninstallerCommand(InstallScope scope, const std::string& uninstallerPath, const char* option,
                               const std::string& productCode);

// The scope a removal reads from where the product was registered: the hive
// holding its key. When both hives hold one (the product was installed once
// for everyone and once for a user), the uninstaller's own place decides: a
// copy running from the user's folder removes the user's product. With no
// key at all, everyone's (where the key was always written).
InstallScope RegisteredScope(bool machineKey, bool userKey, bool runsFromUserFolder);

// The first placeholder of `text` naming a folder only an administrator may
// write ("<ProgramFilesFolder>", "<CommonFilesFolder>", "<WindowsFolder>",
// "<SystemFolder>"), or "" when it names none: a per-user package, which asks
// for no elevation, cannot install there.
std::string MachineFolderOf(const std::string& text);

// The trace and log name of a scope: "All-Users" or "Per-User".
const char* ScopeName(InstallScope scope);

// The folders every profile keeps as the remover's profile keeps them:
// each of `ownFolders` that lies below `ownProfile` gives the folder at the
// same place below each of `otherProfiles` (a per-machine product's removal
// must never delete another user's desktop or application data, whoever
// removes it). Folders without trailing backslashes; comparisons ignore
// ASCII case; a profile that is empty or `ownProfile` itself is skipped.
std::vector<std::string> ProfileFolders(const std::vector<std::string>& ownFolders, const std::string& ownProfile,
                                        const std::vector<std::string>& otherProfiles);

}  // namespace core::scope
