#include "core/SetupState.h"

#include "core/ShellFileOps.h"
#include "core/Trace.h"
#include "core/TraceNames.h"

namespace core {

RunStatus& CurrentRun() {
    static RunStatus run;
    return run;
}

PlaceholderValues PlaceholderValuesOf(const SetupState& s) {
    PlaceholderValues v;
    v.programFilesFolder = s.programFilesFolder;
    v.systemFolder = s.systemFolder;
    v.windowsFolder = s.windowsFolder;
    v.commonFilesFolder = s.commonFilesFolder;
    v.windowsVolume = s.windowsVolume;
    v.favoritesFolder = s.special.favorites;
    v.personalFolder = s.special.documents;
    v.picturesFolder = s.special.pictures;
    v.tempFolder = s.tempFolder;
    v.sendToFolder = s.special.sendTo;
    v.fontsFolder = s.special.fonts;
    v.appDataFolder = s.special.appData;
    v.localAppDataFolder = s.localAppDataFolder;
    v.userProgramsFolder = s.localAppDataFolder.empty() ? std::string() : s.localAppDataFolder + "\\Programs";
    v.productName = s.productName;
    v.installDir = s.installFolder;
    v.productCode = s.productCode;
    v.userName = s.customerName;
    v.companyName = s.companyName;
    v.publisher = s.publisher;
    v.productVersion = s.productVersion;
    for (const SetupVariable& var : s.variables) v.variables.push_back({var.name, var.value});
    return v;
}

void ApplyScope(SetupState& state, scope::InstallScope scope) {
    state.scope = scope;
    state.special = scope::UsesCommonFolders(scope) ? state.allUsersFolders : state.perUserFolders;
    state.installForAnyone = scope == scope::InstallScope::AllUsers;
    trace::Value(tracenames::kInstallScope, scope::ScopeName(scope));
}

std::string UninstallFolderOf(const SetupState& state) {
    return ExpandSetupText(state, scope::UninstallFolderTemplate(state.scope));
}

std::string ExpandSetupText(const SetupState& state, const std::string& text) {
    // Most project texts hold no placeholder: skip building the value table.
    if (text.find('<') == std::string::npos && text.find('>') == std::string::npos) return text;
    return ExpandSetupText(text, PlaceholderValuesOf(state));
}

void RemoveWorkingFolder(const SetupState& state) {
    core::shellops::DeleteFolderIfPresent(state.workingFolder);
}

}  // namespace core
