#include "control/Variables.h"

#include <windows.h>

#include "control/VariableRules.h"
#include "control/WaitWindow.h"
#include "core/Folders.h"
#include "core/Registry.h"
#include "core/Settings.h"
#include "core/SettingsKeys.h"
#include "core/Trace.h"
#include "download/FetchText.h"
#include "util/Text.h"

namespace control {

namespace {

namespace k = core::keys::variables;
using variables::VariableItem;

std::vector<VariableItem> ReadItems(const std::string& ini) {
    using core::settings::kShortValueSize;
    const int total = core::settings::ReadNumber(ini, k::kSection, core::keys::kTotal, kShortValueSize);
    auto field = [&](const char* letter, int i) {
        return core::settings::ReadListField(ini, k::kSection, letter, i, kShortValueSize);
    };
    std::vector<VariableItem> items;
    for (int i = 0; i < total && i < variables::kMaxVariables; ++i) {
        VariableItem v;
        v.name = field(k::kName, i);
        v.defaultValue = field(k::kDefault, i);
        v.description = field(k::kDescription, i);
        v.source = field(k::kSource, i);
        v.registryRoot = field(k::kRegistryRoot, i);
        v.registryKey = field(k::kRegistryKey, i);
        v.registryValue = field(k::kRegistryValue, i);
        v.iniFile = field(k::kIniFile, i);
        v.iniSection = field(k::kIniSection, i);
        v.iniKey = field(k::kIniKey, i);
        v.findPath = field(k::kFindPath, i);
        v.webAddress = field(k::kWebAddress, i);
        v.windowClass = field(k::kWindowClass, i);
        v.windowTitle = field(k::kWindowTitle, i);
        items.push_back(std::move(v));
    }
    return items;
}

// This machine as the variables see it; expansions read the state, whose
// table grows as the values are found.
class MachineLookups : public variables::VariableMachine {
public:
    explicit MachineLookups(const core::SetupState& state) : state_(state) {}

    std::string Expand(const std::string& text) const override { return core::ExpandSetupText(state_, text); }

    std::string ReadRegistry(const std::string& root, const std::string& key,
                             const std::string& value) override {
        HKEY h = core::registry::RootFromName(root);
        return h ? core::registry::ReadText(h, key, value) : std::string();
    }

    std::string ReadIni(const std::string& file, const std::string& section,
                        const std::string& key) override {
        if (!core::folders::Exists(file)) return std::string();
        return core::settings::Read(file, section.c_str(), key.c_str());
    }

    bool PathExists(const std::string& path) override { return core::folders::Exists(path); }

    // Cancel on the wait window gives up this text and those still to come.
    std::string FetchText(const std::string& address) override {
        return download::FetchText(address, [this] { return wait_.CancelRequested(); });
    }

    // Empty texts are passed as empty texts: they ask for an empty class or
    // title, not for any.
    bool WindowExists(const std::string& windowClass, const std::string& title) override {
        return FindWindowA(windowClass.c_str(), title.c_str()) != nullptr;
    }

    void ShowWaitWindow() override {
        if (!state_.unattended) wait_.Show();
    }
    void CloseWaitWindow() override { wait_.Close(); }
    // The value is shown with its control characters as "?": it must not
    // write lines of its own into the log.
    void Refused(const std::string& name, const std::string& value, const std::string& why) override {
        core::trace::Value("variable value refused",
                           name + "=" + util::text::ControlCharactersShown(value) + ": " + why);
    }

private:
    const core::SetupState& state_;
    WaitWindow wait_;
};

}  // namespace

void ReadProjectVariables(core::SetupState& state) {
    const std::vector<VariableItem> items = ReadItems(state.settingsPath);
    state.variables.clear();
    MachineLookups machine(state);
    variables::ReadVariableValues(items, state.variables, machine);
    for (const core::SetupVariable& v : state.variables) core::trace::Value("variable", v.name + "=" + v.value);
}

}  // namespace control
