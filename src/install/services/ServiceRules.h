// The texts a project names a service's type, start type and error control
// with, as the numbers the service control manager takes, and which systems
// have a service control manager at all. Pure text rules.
#pragma once

#include <cstdint>
#include <string>

namespace install::servicerules {

// "SERVICE_WIN32_OWN_PROCESS" 16, "SERVICE_WIN32_SHARE_PROCESS" 32,
// "SERVICE_INTERACTIVE_PROCESS" 256 (alone, passed on as it is). Exact,
// case-sensitive match; any other text gives 0.
uint32_t ServiceTypeFromText(const std::string& text);
// "SERVICE_BOOT_START" 0 to "SERVICE_DISABLED" 4, as the system numbers
// them; any other text gives 0 (boot start).
uint32_t StartTypeFromText(const std::string& text);
// "SERVICE_ERROR_IGNORE" 0, "SERVICE_ERROR_NORMAL" 1, "SERVICE_ERROR_CRITICAL"
// 3; any other text gives 0.
uint32_t ErrorControlFromText(const std::string& text);

// False for the systems without services ("95", "98", "98SE", "ME"). Every
// other name, and the empty name of a system newer than the named ones, has them.
bool HasServices(const std::string& osName);

}  // namespace install::servicerules
