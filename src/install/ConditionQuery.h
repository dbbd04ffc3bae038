// The query by name that installation items (web items, before their
// download) put to the project's conditions.
#pragma once

#include <string>

#include "install/InstallContext.h"

namespace install {

// core::ConditionHolds over the run's conditions, operands expanded by the
// engine expansion. The actions of a condition that holds run on the way: a
// message through context.ShowMessage, and "CancelInstall();" as the user's
// own cancel (CancelRequested() is true from then on: the run stops before
// its next item and the complete page follows). No other window shows.
bool ConditionHolds(InstallContext& context, const std::string& name);

}  // namespace install
