// setup.inf as the setup reads it: any text through the profile rules, every
// key read with its buffer size, the values through the settings rules and
// the lists built from them (requirements, conditions, file actions).
#include <array>
#include <cstdint>
#include <string>

#include "control/RequirementRules.h"
#include "core/Conditions.h"
#include "core/SettingsKeys.h"
#include "core/SettingsRules.h"
#include "pages/FileActionRules.h"
#include "skin/MemoryIniSource.h"

namespace keys = core::keys;
namespace settings = core::settings;

namespace {

void Values(const std::string& v) {
    settings::IsYes(v.c_str());
    settings::IsNotNo(v.c_str());
    settings::ParseNumber(v.c_str());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    const skin::MemoryIniSource ini(text);
    auto read = [&](const char* section, const std::string& key, int bufferSize) {
        std::string v = ini.Read(section, key, static_cast<size_t>(bufferSize));
        if (v.size() >= static_cast<size_t>(bufferSize) && bufferSize > 0) __builtin_trap();
        Values(v);
        return v;
    };

    static const char* const kSections[] = {
        keys::appinfo::kSection,    keys::building::kSection,   keys::dialoglist::kSection,
        keys::system::kSection,     keys::splash::kSection,     keys::variables::kSection,
        keys::conditions::kSection, keys::fileaction::kSection, keys::mergemodules::kSection};
    for (const char* section : kSections) {
        for (const std::string& key : ini.KeyNames(section)) {
            read(section, key, settings::kValueSize);
            read(section, key, settings::kShortValueSize);
        }
        const int total = settings::ParseNumber(read(section, keys::kTotal, settings::kShortValueSize).c_str());
        for (int i = 0; i < 8 && i <= total; ++i) read(section, settings::ListKey("A", total - i), 255);
    }

    std::array<std::string, 7> os;
    for (int i = 0; i < 7; ++i) os[i] = read(keys::system::kSection, settings::ListKey("os", i), 255);
    control::requirements::AllowedSystemMask(os);
    control::requirements::RequiredMemoryMB(read(keys::system::kSection, keys::system::kMemory, 255));
    control::requirements::RequiredScreen(read(keys::system::kSection, keys::system::kScreen, 255));
    control::requirements::RequiredBitsPerPixel(read(keys::system::kSection, keys::system::kColors, 255));
    control::requirements::ProcessorAllowed(read(keys::system::kSection, keys::system::kProcessor, 255),
                                            std::string("Intel Pentium"));

    const core::Conditions conditions = core::ReadConditions(
        [&](const std::string& key, int bufferSize) { return read(keys::conditions::kSection, key, bufferSize); });
    for (const core::Condition& c : conditions) {
        core::OperandsMeet(c.left, c.op, c.right);
        for (const std::string& a : c.actions) core::ParseConditionAction(a);
    }
    pages::ReadFileActions(
        [&](const std::string& key) { return read(keys::fileaction::kSection, key, settings::kValueSize); });
    return 0;
}
