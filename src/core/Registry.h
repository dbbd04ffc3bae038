// Registry access used across the engine. Reads open the key only to query
// values, so they work where the user may not write (a machine key without
// elevation). Writes never create keys (callers ensure the key first) and
// fail silently. Key paths and value names are limited to 255 characters.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

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

// Values of any type, for the installation's system settings. Key paths here
// may be up to kMaxKeyPathLength characters, value names 255.
constexpr size_t kMaxKeyPathLength = 499;
struct Value {
    DWORD type = REG_NONE;
    std::string bytes;  // the stored bytes as they are (a text keeps its terminating zero)
};
// The whole value, whatever its length (up to 1 MiB); nullopt when the key or
// the value does not exist or cannot be read.
std::optional<Value> ReadValue(HKEY root, const std::string& path, const std::string& name);
// Stores the bytes with the type under an existing key (opened to set values only).
bool WriteValue(HKEY root, const std::string& path, const std::string& name, DWORD type,
                const std::string& bytes);
bool DeleteValue(HKEY root, const std::string& path, const std::string& name);
// The same through the system's wide functions: a text's bytes are UTF-16
// (with its terminating zero), as the system keeps them; other types' bytes
// are the same either way. The name is in the ANSI code page.
std::optional<Value> ReadWideValue(HKEY root, const std::string& path, const std::string& name);
bool WriteWideValue(HKEY root, const std::string& path, const std::string& name, DWORD type,
                    const std::string& bytes);
// A text value as the system keeps it (UTF-16), so that a read-modify-write
// gives back every character it did not mean to change, whatever the ANSI
// code page can show. The name is in the ANSI code page.
struct WideText {
    DWORD type = REG_NONE;
    std::wstring text;  // up to its first zero; empty for a value of another type
};
// nullopt when the key or the value does not exist or cannot be read.
std::optional<WideText> ReadWideText(HKEY root, const std::string& path, const std::string& name);
// Stores the text (REG_SZ or REG_EXPAND_SZ) under an existing key.
bool WriteWideText(HKEY root, const std::string& path, const std::string& name, const WideText& value);
bool KeyExists(HKEY root, const std::string& path);
// Opens the key, creating it (and its missing parents) when the open fails.
bool EnsureKey(HKEY root, const std::string& path);
// Whether the key holds no values and no sub-keys; false when it cannot be
// opened.
bool KeyIsEmpty(HKEY root, const std::string& path);
// The names of the key's values ("" the default value); none when it cannot be opened.
std::vector<std::string> ValueNames(HKEY root, const std::string& path);
// Deletes the key when it holds nothing (KeyIsEmpty); false when it stays.
bool DeleteEmptyKey(HKEY root, const std::string& path);
// Deletes the key with everything below it, down to kMaxTreeDepth levels
// (a deeper tree stays); true when the key no longer exists. An empty path
// (the root itself) is refused.
constexpr int kMaxTreeDepth = 64;
bool DeleteKeyTree(HKEY root, const std::string& path);
// Splits "HKEY_LOCAL_MACHINE\Software\X" into its root and the path below
// it (without a leading backslash). nullptr when the text does not begin with
// a root name followed by a backslash or its end.
HKEY SplitRootPath(const std::string& fullPath, std::string& path);
// The root's name ("HKEY_CURRENT_USER"); "" for a root without one.
const char* RootNameOf(HKEY root);

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
