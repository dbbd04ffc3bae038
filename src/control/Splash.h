// The splash screen: a borderless window centred on the screen that shows
// the project's splash picture (still or animated) and plays its sound, for
// the start-up driver's first step. It closes itself on its timers (see
// control/SplashRules.h) and then sets the setup state's splash-finished
// flag, which the main frame's timers wait for before the first page.
#pragma once

#include <windows.h>

#include "core/SetupState.h"

namespace control {

// Opens the splash the settings describe, owned by `owner` (destroyed with
// it); true when a splash window was made. Unattended runs show and play
// nothing.
bool OpenSplash(core::SetupState& state, HWND owner);

// Puts the open splash above the setup's other windows (the start page that
// shows the preparation behind it), without taking the focus. Windows that
// come later, such as a message, still come above it.
void RaiseSplash();

}  // namespace control
