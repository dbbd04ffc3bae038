// System-requirement rules: which operating systems, how much memory, which
// screen size and colour depth and which processor a project needs, and the
// per-item operating-system filter. Pure rules over measured machine facts.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "control/OsName.h"

namespace control::requirements {

// Allowed-system mask with all seven systems allowed: the check is skipped.
constexpr int kAllSystems = 127;
// Per-item filter mask: bit 1 "NET", 2 "XP", 4 "2000", 8 "NT4", 16 "ME",
// 32 "98SE", 64 "98".
constexpr int kAllItemSystems = 127;

// Requirement values as read from the SYSTEM section.
struct RequirementValues {
    std::string processor;           // "1": text that must occur in the processor name
    std::string memory;              // "2": for example "128 MB"
    std::string screen;              // "3": for example "800x600"
    std::string colors;              // "4": a colour depth name
    std::array<std::string, 7> os;   // "os0" to "os6"
};

// What was measured on this machine.
struct MachineFacts {
    OsVersionRecord version;
    uint64_t totalPhysicalBytes = 0;
    int screenWidth = 0;
    int screenHeight = 0;
    int bitsPerPixel = 0;
    // The processor name, or nothing when the processor could not be identified.
    std::optional<std::string> processorName;
};

enum class RequirementFailure { None, OperatingSystem, Memory, Screen, Colors, Processor };

struct ScreenSize {
    int width = 0;
    int height = 0;
};

// The system "os<index>" allows, in the order the checks test them: "98",
// "98SE", "ME", "NT4", "2000", "XP", "NET"; "" for an index outside 0 to 6.
const char* AllowedSystemName(int index);

// Bit 1 << i for each "os<i>" that is exactly "Yes".
int AllowedSystemMask(const std::array<std::string, 7>& osValues);
// True when the mask is kAllSystems or at least one allowed system's test
// matches the version record; a mask of 0 never matches. "os6" ("NET") also
// allows every later NT system (CountsAsNet).
bool OperatingSystemAllowed(int mask, const OsVersionRecord& version);

// Required megabytes; nothing for exactly "Any". Every " MB" is removed
// before the number is read.
std::optional<int> RequiredMemoryMB(const std::string& value);
// Installed megabytes as the check counts them: whole megabytes plus one.
int InstalledMemoryMB(uint64_t totalPhysicalBytes);

// Required screen size; nothing for exactly "checkSCREEN" or "Any resolution".
// Width before the first "x", height after it; without "x" the width is 0 and
// the height is the number the whole value starts with.
std::optional<ScreenSize> RequiredScreen(const std::string& value);

// Required bits per pixel; nothing for exactly "Any colors". Names not in the
// colour table need 0.
std::optional<int> RequiredBitsPerPixel(const std::string& value);

// True when no processor is required ("All Processors"), the processor could
// not be identified, or the requirement occurs in the processor name
// (case-sensitive).
bool ProcessorAllowed(const std::string& requirement,
                      const std::optional<std::string>& processorName);

// Per-item operating-system filter: false when a bit cleared in the mask
// names this machine's system. An empty system name always passes.
bool ItemSystemAllowed(int mask, const std::string& osName);

// Runs the checks in their order (operating system, memory, screen, colours,
// processor) and names the first that fails.
RequirementFailure FirstFailedRequirement(const RequirementValues& values,
                                          const MachineFacts& machine);

}  // namespace control::requirements
