// Start-up step: reads the project's variables (section VARIABLES) and finds
// their values on this machine, into the setup state's variables table, so
// that every later expansion replaces their names.
#pragma once

#include "core/SetupState.h"

namespace control {

// Replaces the state's variables table. The wait window shows while files or
// web texts are read, except in an unattended run, which shows nothing.
void ReadProjectVariables(core::SetupState& state);

}  // namespace control
