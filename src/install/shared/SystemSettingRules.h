// The text rules of the system settings (INI entries, registry values,
// environment variables), kept apart from the registry and profile calls so
// that they read and test on their own.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace install::systemrules {

// The keys of the environment variables: the user's under
// HKEY_CURRENT_USER, the machine's under HKEY_LOCAL_MACHINE.
constexpr char kUserEnvironmentKey[] = "Environment";
constexpr char kMachineEnvironmentKey[] =
    "SYSTEM\\CurrentControlSet\\Control\\Session Manager\\Environment";

// The INI file's name from its tree name: "INI Files\app.ini" gives
// "app.ini" (the prefix removed wherever it stands, one trailing backslash
// dropped).
std::string IniFileName(const std::string& treeName);

// The parts of an INI entry's tree path "INI Files\<file>\<section>\<key>":
// the file component, the section, and the key (the rest, backslashes kept,
// one trailing backslash dropped). nullopt when the path has no section.
struct IniEntryPath {
    std::string file;
    std::string section;
    std::string key;
};
std::optional<IniEntryPath> SplitIniEntryPath(const std::string& treePath);

// A registry value's type word: "0"/"String", "1"/"DWORD", "2"/"Binary";
// nullopt for any other text (nothing is written then).
enum class ValueType { String, DWord, Binary };
std::optional<ValueType> ParseValueType(const std::string& text);

// A double word's data read as a signed decimal number: optional spaces, an
// optional sign, the leading digits ("abc" gives 0, "12ab" gives 12). Numbers
// from -2147483648 to 4294967295 keep their 32 bits (-1 is 0xFFFFFFFF);
// beyond that range they stop at its ends instead of wrapping.
uint32_t ParseDoubleWord(const std::string& text);

// Whether `item` is one of the ";"-separated items of `list`, compared
// without regard to ASCII case.
bool ListHasItem(const std::string& list, const std::string& item);

// The value after appending `item` to a variable whose value is `current`
// ("" when it does not exist): "current;item". nullopt when the variable
// already holds the item, so a reinstall does not grow it.
std::optional<std::string> AppendItem(const std::string& current, const std::string& item);

// The value after taking out the last ";"-separated item equal to `item`
// (without regard to ASCII case), the undo of AppendItem: "a;b;x" less "x"
// gives "a;b". "" when only empty items stay (";x" less "x"): the variable
// held nothing else. nullopt when it does not hold the item.
std::optional<std::string> RemoveItem(const std::string& current, const std::string& item);

}  // namespace install::systemrules
