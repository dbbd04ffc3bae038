// The language step of the start-up: the system's interface language and
// applying a language file to the setup state.
#pragma once

#include <string>

#include "core/SetupState.h"

namespace control {

// The system's user-interface language identifier; 0 when the system does
// not report one.
unsigned SystemUiLanguage();

// Makes "languages\<name>.lan" of the source folder the language of the
// pages and their dialogs. A name without a file changes nothing (the
// authored texts stay); false then.
bool ApplyLanguage(core::SetupState& state, const std::string& name);

}  // namespace control
