// Project variables read from a hostile machine: values from the registry,
// INI files, the web and windows are any text, and expansion of one
// variable's fields may bring in the others.
#include <cstdint>
#include <string>
#include <vector>

#include "FuzzInput.h"
#include "control/VariableRules.h"
#include "core/Placeholders.h"

namespace variables = control::variables;

namespace {

class Machine : public variables::VariableMachine {
public:
    explicit Machine(fuzz::Input& input) : input_(input) {}
    // Expands with the variables read so far, as the setup does.
    std::string Expand(const std::string& text) const override {
        core::PlaceholderValues values;
        for (const core::SetupVariable& v : *table) values.variables.push_back({v.name, v.value});
        return core::ExpandSetupText(text, values);
    }
    std::string ReadRegistry(const std::string&, const std::string&, const std::string&) override {
        return input_.Until('\x03');
    }
    std::string ReadIni(const std::string&, const std::string&, const std::string&) override {
        return input_.Until('\x03');
    }
    bool PathExists(const std::string&) override { return input_.Byte() & 1; }
    std::string FetchText(const std::string&) override { return input_.Until('\x03'); }
    bool WindowExists(const std::string&, const std::string&) override { return input_.Byte() & 1; }
    void ShowWaitWindow() override { ++waits; }
    void CloseWaitWindow() override { --waits; }
    void Refused(const std::string&, const std::string&, const std::string&) override {}

    const std::vector<core::SetupVariable>* table = nullptr;
    int waits = 0;

private:
    fuzz::Input& input_;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::Input input(data, size);
    Machine machine(input);
    std::vector<variables::VariableItem> items;
    const int count = input.Byte() % 60;
    for (int i = 0; i < count; ++i) {
        variables::VariableItem item;
        item.name = input.Until('\x02');
        item.defaultValue = input.Until('\x02');
        item.source = input.Until('\x02');
        item.iniFile = input.Until('\x02');
        item.findPath = input.Until('\x02');
        item.webAddress = input.Until('\x02');
        item.windowClass = input.Until('\x02');
        variables::SourceFromName(item.source);
        items.push_back(item);
    }
    std::vector<core::SetupVariable> table;
    machine.table = &table;
    variables::ReadVariableValues(items, table, machine);
    if (table.size() > static_cast<size_t>(variables::kMaxVariables)) __builtin_trap();
    if (machine.waits != 0) __builtin_trap();  // every wait window shown is closed
    machine.Expand(input.Rest());
    return 0;
}
