// Registry access used across the engine. Reads open the key only to query
// values, so they work where the user may not write (a machine key without
// elevation). Writes never create keys (callers ensure the key first) and
// fail silently. Key paths and value names are limited to 255 characters.
#pragma once

#include <windows.h>

#include <string>

namespace core::registry {

std::string ReadText(HKEY root, const std::string& path, const std::string& name);
std::string ReadMachineText(const std::string& path, const std::string& name);
std::string ReadUserText(const std::string& path, const std::string& name);

// Each returns whether the value was stored (callers may ignore it).
bool WriteText(HKEY root, const std::string& path, const std::string& name,
               const std::string& value);
bool WriteMachineText(const std::string& path, const std::string& name, const std::string& value);
bool WriteUserText(const std::string& path, const std::string& name, const std::string& value);
bool WriteClassesText(const std::string& path, const std::string& name, const std::string& value);
bool WriteMachineNumber(const std::string& path, const std::string& name, DWORD value);

// Opens the key, creating it when the open fails.
bool EnsureMachineKey(const std::string& path);
// Root given by name ("HKEY_CURRENT_USER", ...); a leading root prefix in the
// path is dropped first. Any other root name does nothing.
bool EnsureKeyByRootName(const std::string& rootName, const std::string& path);
// Root by its name, or nullptr for an unknown name.
HKEY RootFromName(const std::string& rootName);

// machine: true for HKEY_LOCAL_MACHINE, false for HKEY_CURRENT_USER.
bool DeleteValue(bool machine, const std::string& path, const std::string& name);

// Whether the key opens with full access. Machine keys of the system open so
// only for an elevated administrator: the start-up's test of administrator
// rights, kept apart from the reads.
bool OpensWithFullAccess(HKEY root, const std::string& path);

// Test hook: called with the access every helper above asks for, before it
// opens or creates a key. None is installed unless a test installs one; the
// access cannot be seen from outside where the user is an administrator.
using KeyAccessObserver = void (*)(HKEY root, const std::string& path, REGSAM access);
void SetKeyAccessObserver(KeyAccessObserver observer);

}  // namespace core::registry
