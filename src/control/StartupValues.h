// The first start-up steps, run as the frame is created and before the
// language step: the folders, the theme files, a working folder of this run's
// own with the decrypted project files, the machine's values, the product's
// settings and the operating system's name. Each is announced in the trace.
#pragma once

#include "core/SetupState.h"

namespace control::startup {

void ResetValues(core::SetupState& s);
void DiscoverFolders(core::SetupState& s);
void UnpackThemeFiles(const core::SetupState& s);
// Makes the working folder and decrypts setup.nsx and data.nsx into it;
// false when it could not (the message is shown and the quit message posted).
bool LocateProjectFiles(core::SetupState& s);
void ResolveMachineValues(core::SetupState& s);
void ReadProductSettings(core::SetupState& s);
void DetermineOsName(core::SetupState& s);

}  // namespace control::startup
