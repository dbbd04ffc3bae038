#include "control/VariableRules.h"

namespace control::variables {

namespace {

const char kTrue[] = "TRUE";
const char kFalse[] = "FALSE";

std::string ExpandIfAny(const std::string& text, const VariableMachine& machine) {
    return text.empty() ? text : machine.Expand(text);
}

// A default may name placeholders and earlier variables ("<PersonalFolder>\Notes"):
// the expansion replaces a variable's value as it stands, so it is expanded here.
// A value found on the machine that is not plain data gives way to it too.
std::string OrDefault(const std::string& found, const VariableItem& item, VariableMachine& machine) {
    if (!found.empty()) {
        const std::string why = ValueRefusal(found);
        if (why.empty()) return found;
        machine.Refused(item.name, found, why);
    }
    return ExpandIfAny(item.defaultValue, machine);
}

// An existence test of a path: a path ending in a backslash names no file
// the way the setup asks, so it is never found.
bool PathFound(const std::string& path, VariableMachine& machine) {
    if (path.empty() || path.back() == '\\') return false;
    return machine.PathExists(path);
}

// A web text is a line ("2.0\r\n"): its line end is no part of the value a
// condition compares.
std::string WithoutLineEnds(std::string text) {
    while (!text.empty() && (text.back() == '\r' || text.back() == '\n')) text.pop_back();
    return text;
}

std::string ValueOf(const VariableItem& item, Source source, VariableMachine& machine) {
    switch (source) {
    case Source::Nowhere: return ExpandIfAny(item.defaultValue, machine);
    case Source::Registry:
        return OrDefault(machine.ReadRegistry(item.registryRoot, item.registryKey, item.registryValue), item, machine);
    case Source::IniFile:
        return OrDefault(machine.ReadIni(machine.Expand(item.iniFile), item.iniSection, item.iniKey), item, machine);
    case Source::FindPath: return PathFound(machine.Expand(item.findPath), machine) ? kTrue : kFalse;
    case Source::Web:
        return OrDefault(WithoutLineEnds(machine.FetchText(machine.Expand(item.webAddress))), item, machine);
    case Source::FindWindow:
        return machine.WindowExists(ExpandIfAny(item.windowClass, machine),
                                    ExpandIfAny(item.windowTitle, machine))
                   ? kTrue
                   : kFalse;
    case Source::Unknown: break;
    }
    return std::string();
}

}  // namespace

std::string ValueRefusal(const std::string& value) {
    for (const char c : value) {
        if (c == '"') return "it holds a double quote";
        const unsigned char u = static_cast<unsigned char>(c);
        if (u == '\r' || u == '\n') return "it holds a line break";
        if (u < 0x20 || u == 0x7F) return "it holds a control character";
    }
    return std::string();
}

Source SourceFromName(const std::string& name) {
    if (name == "Nowhere") return Source::Nowhere;
    if (name == "Registry") return Source::Registry;
    if (name == "INI Files") return Source::IniFile;
    if (name == "Find File/Folder") return Source::FindPath;
    if (name == "Retrive from Web") return Source::Web;
    if (name == "Find Window") return Source::FindWindow;
    return Source::Unknown;
}

void ReadVariableValues(const std::vector<VariableItem>& items, std::vector<core::SetupVariable>& table,
                        VariableMachine& machine) {
    bool waiting = false;
    for (const VariableItem& item : items) {
        if (table.size() >= static_cast<size_t>(kMaxVariables)) break;
        const Source source = SourceFromName(item.source);
        if (!waiting && (source == Source::FindPath || source == Source::Web)) {
            machine.ShowWaitWindow();
            waiting = true;
        }
        std::string value = ValueOf(item, source, machine);
        table.push_back({item.name, item.description, std::move(value)});
    }
    if (waiting) machine.CloseWaitWindow();
}

}  // namespace control::variables
