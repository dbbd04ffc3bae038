// Project variables: how each item of the VARIABLES list finds its value on
// this machine (registry, INI file, a file or folder, a web text, a window),
// in list order, each path or address expanded with the variables found
// before it. The machine is asked through VariableMachine, so the rules run
// without Windows.
#pragma once

#include <string>
#include <vector>

#include "core/SetupState.h"

namespace control::variables {

// The variables table holds at most this many; surplus items are not read.
constexpr int kMaxVariables = 50;

enum class Source { Nowhere, Registry, IniFile, FindPath, Web, FindWindow, Unknown };

// "Nowhere", "Registry", "INI Files", "Find File/Folder", "Retrive from Web"
// or "Find Window", compared exactly; anything else is Unknown.
Source SourceFromName(const std::string& name);

// One item of the VARIABLES list as the settings give it.
struct VariableItem {
    std::string name;           // "A"
    std::string defaultValue;   // "B"
    std::string description;    // "C"
    std::string source;         // "D"
    std::string registryRoot;   // "E": root name
    std::string registryKey;    // "F"
    std::string registryValue;  // "G"
    std::string iniFile;        // "H", expanded
    std::string iniSection;     // "I"
    std::string iniKey;         // "J"
    std::string findPath;       // "L", expanded
    std::string webAddress;     // "O", expanded
    std::string windowClass;    // "P", expanded when not empty
    std::string windowTitle;    // "Q", expanded when not empty
};

// What the rules ask of the machine and of the setup.
class VariableMachine {
public:
    virtual ~VariableMachine() = default;
    // The setup expansion with the variables the table holds so far.
    virtual std::string Expand(const std::string& text) const = 0;
    // The text of a registry value under a root given by name; "" for an
    // unknown root or a value that cannot be read.
    virtual std::string ReadRegistry(const std::string& root, const std::string& key,
                                     const std::string& value) = 0;
    // An INI value; "" when the file does not exist.
    virtual std::string ReadIni(const std::string& file, const std::string& section,
                                const std::string& key) = 0;
    virtual bool PathExists(const std::string& path) = 0;
    // The text at a web address; "" on any failure. Its trailing line ends
    // are dropped from the value.
    virtual std::string FetchText(const std::string& address) = 0;
    // Whether a top-level window of exactly this class and title exists.
    virtual bool WindowExists(const std::string& windowClass, const std::string& title) = 0;
    // The wait window, shown while the slow sources (files, web) are read.
    virtual void ShowWaitWindow() = 0;
    virtual void CloseWaitWindow() = 0;
    // A value found on the machine was refused (ValueRefusal): the item
    // keeps its default. For the diagnostic log.
    virtual void Refused(const std::string& name, const std::string& value, const std::string& why) = 0;
};

// Why a value found outside the project (a registry or INI value, a web
// text) cannot be a variable's value, or "" when it can. Such a value is data
// that a standard user may have written: it may end up inside a quoted
// argument or a path, so a double quote, a line break or any other control
// character is refused.
std::string ValueRefusal(const std::string& value);

// Appends one entry per item to `table` (which the machine's expansion
// reads), up to kMaxVariables entries. A web text loses its trailing line
// ends. A lookup that finds nothing, or a value ValueRefusal refuses, gives the
// item's default, expanded (placeholders and earlier variables); the existence tests give "TRUE" or "FALSE", and a path
// ending in a backslash is never found; an Unknown source gives "". The wait
// window shows at the first file or web item and closes after the last item.
void ReadVariableValues(const std::vector<VariableItem>& items, std::vector<core::SetupVariable>& table,
                        VariableMachine& machine);

}  // namespace control::variables
