// The checks start-up runs before any page: system requirements and
// administrator rights. A failed check shows one message and returns false.
#pragma once

#include <functional>
#include <string>

#include "control/RequirementRules.h"

namespace control {

struct SystemCheckContext {
    std::string settingsPath;      // setup.inf
    std::string messageFilePath;   // language.lan (section REQ)
    bool noAdministrator = false;  // the program files folder's key does not open with full access
    std::function<std::string(const std::string&)> expand;  // the setup expansion
    std::function<void(const std::string&)> showMessage;
};

// This machine's facts, as the requirement check compares them.
control::requirements::MachineFacts MeasureMachine();

bool CheckSystemRequirements(const SystemCheckContext& c, const control::requirements::MachineFacts& m);
bool CheckAdministratorRights(const SystemCheckContext& c);

}  // namespace control
