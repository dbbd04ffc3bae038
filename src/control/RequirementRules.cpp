#include "control/RequirementRules.h"

#include <cstdio>

#include "core/SettingsRules.h"
#include "util/Text.h"

namespace control::requirements {

const char* AllowedSystemName(int index) {
    // The bit of "os<index>" in OperatingSystemAllowed tests for this system.
    static const char* const kNames[] = {"98", "98SE", "ME", "NT4", "2000", "XP", "NET"};
    return index >= 0 && index < 7 ? kNames[index] : "";
}

int AllowedSystemMask(const std::array<std::string, 7>& osValues) {
    int mask = 0;
    for (size_t i = 0; i < osValues.size(); ++i)
        if (core::settings::IsYes(osValues[i].c_str())) mask |= 1 << i;
    return mask;
}

bool OperatingSystemAllowed(int mask, const OsVersionRecord& v) {
    if (mask == kAllSystems) return true;
    const uint32_t build = v.build & 0xFFFF;
    const bool nt = v.platform == kPlatformNT;
    if ((mask & 1) && v.major == 4 && v.minor == 10 && build < 2184) return true;
    if ((mask & 2) && v.major == 4 && v.minor == 10 && build > 2182) return true;
    if ((mask & 4) && v.major == 4 && v.minor == 90) return true;
    if ((mask & 8) && v.major == 4 && v.minor == 0) return true;
    if ((mask & 16) && v.major == 5 && v.minor == 0) return true;
    if ((mask & 32) && nt && v.major == 5 && v.minor == 1) return true;
    if ((mask & 64) && CountsAsNet(v)) return true;
    return false;
}

std::optional<int> RequiredMemoryMB(const std::string& value) {
    if (value == "Any") return std::nullopt;
    return core::settings::ParseNumber(util::text::ReplaceAll(value, " MB", "").c_str());
}

int InstalledMemoryMB(uint64_t totalPhysicalBytes) {
    // Formatted and read back as a number, which yields the whole number.
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%7.0lf",
                  static_cast<double>((totalPhysicalBytes >> 20) + 1));
    return core::settings::ParseNumber(buffer);
}

std::optional<ScreenSize> RequiredScreen(const std::string& value) {
    if (value == "checkSCREEN" || value == "Any resolution") return std::nullopt;
    ScreenSize size;
    const size_t x = value.find('x');
    if (x == std::string::npos) {
        size.height = core::settings::ParseNumber(value.c_str());
    } else {
        size.width = core::settings::ParseNumber(value.substr(0, x).c_str());
        size.height = core::settings::ParseNumber(value.c_str() + x + 1);
    }
    return size;
}

std::optional<int> RequiredBitsPerPixel(const std::string& value) {
    if (value == "Any colors") return std::nullopt;
    if (value == "32bit colors") return 32;
    if (value == "24bit colors") return 24;
    if (value == "65.636 colors") return 16;
    if (value == "256 colors") return 8;
    return 0;
}

bool ProcessorAllowed(const std::string& requirement,
                      const std::optional<std::string>& processorName) {
    if (requirement == "All Processors") return true;
    if (!processorName) return true;
    return processorName->find(requirement) != std::string::npos;
}

bool ItemSystemAllowed(int mask, const std::string& osName) {
    static const char* const kNames[] = {"NET", "XP", "2000", "NT4", "ME", "98SE", "98"};
    if (osName.empty()) return true;
    for (int i = 6; i >= 0; --i)
        if (!(mask & (1 << i)) && osName == kNames[i]) return false;
    return true;
}

RequirementFailure FirstFailedRequirement(const RequirementValues& values,
                                          const MachineFacts& machine) {
    if (!OperatingSystemAllowed(AllowedSystemMask(values.os), machine.version))
        return RequirementFailure::OperatingSystem;
    if (const auto mb = RequiredMemoryMB(values.memory))
        if (InstalledMemoryMB(machine.totalPhysicalBytes) < *mb) return RequirementFailure::Memory;
    if (const auto screen = RequiredScreen(values.screen))
        if (machine.screenWidth < screen->width || machine.screenHeight < screen->height)
            return RequirementFailure::Screen;
    if (const auto bits = RequiredBitsPerPixel(values.colors))
        if (machine.bitsPerPixel < *bits) return RequirementFailure::Colors;
    if (!ProcessorAllowed(values.processor, machine.processorName))
        return RequirementFailure::Processor;
    return RequirementFailure::None;
}

}  // namespace control::requirements
