#include "install/services/ServiceRules.h"

#include <cstddef>

namespace install::servicerules {

namespace {

struct NamedNumber {
    const char* text;
    uint32_t value;
};

template <size_t N>
uint32_t Lookup(const NamedNumber (&table)[N], const std::string& text) {
    for (const NamedNumber& row : table)
        if (text == row.text) return row.value;
    return 0;
}

}  // namespace

uint32_t ServiceTypeFromText(const std::string& text) {
    static const NamedNumber kTypes[] = {{"SERVICE_WIN32_OWN_PROCESS", 16},
                                         {"SERVICE_WIN32_SHARE_PROCESS", 32},
                                         {"SERVICE_INTERACTIVE_PROCESS", 256}};
    return Lookup(kTypes, text);
}

uint32_t StartTypeFromText(const std::string& text) {
    static const NamedNumber kStartTypes[] = {{"SERVICE_BOOT_START", 0},
                                              {"SERVICE_SYSTEM_START", 1},
                                              {"SERVICE_AUTO_START", 2},
                                              {"SERVICE_DEMAND_START", 3},
                                              {"SERVICE_DISABLED", 4}};
    return Lookup(kStartTypes, text);
}

uint32_t ErrorControlFromText(const std::string& text) {
    static const NamedNumber kErrorControls[] = {{"SERVICE_ERROR_IGNORE", 0},
                                                 {"SERVICE_ERROR_NORMAL", 1},
                                                 {"SERVICE_ERROR_CRITICAL", 3}};
    return Lookup(kErrorControls, text);
}

bool HasServices(const std::string& osName) {
    return osName != "95" && osName != "98" && osName != "98SE" && osName != "ME";
}

}  // namespace install::servicerules
