// Running the add-on programs and merge modules after the installation:
// the MERGEMODULES list read from the settings, the programs started and
// waited for while the add-on page keeps painting.
#pragma once

#include <functional>
#include <string>

#include "core/SetupState.h"
#include "install/addons/MergeModuleRules.h"

namespace install {

// Whether the project has add-on programs or merge modules to run.
bool HasMergeModules(const std::string& settingsPath);

// Runs the MERGEMODULES entries (install/addons/MergeModuleRules.h) for the setup
// as it stands: texts by the setup expansion, the package installed with the
// system folder's msiexec.exe, conditions asked through `conditionHolds`.
// Returns whether a restart is needed to complete them and which failed.
mergemodules::AddOnOutcome RunMergeModules(const core::SetupState& state,
                                           const std::function<bool(const std::string&)>& conditionHolds);

}  // namespace install
