#include "control/SystemChecks.h"

#include <windows.h>

#include "control/OsVersion.h"
#include "control/Processor.h"
#include "core/Settings.h"
#include "core/SettingsKeys.h"
#include "core/Messages.h"

namespace control {

using control::requirements::RequirementFailure;

namespace {

struct CheckMessage {
    RequirementFailure failure;
    core::MessageId message;  // localised by the message file
};

const CheckMessage kMessages[] = {
    {RequirementFailure::OperatingSystem, core::MessageId::RequirementOperatingSystem},
    {RequirementFailure::Colors, core::MessageId::RequirementColors},
    {RequirementFailure::Screen, core::MessageId::RequirementScreen},
    {RequirementFailure::Memory, core::MessageId::RequirementMemory},
    {RequirementFailure::Processor, core::MessageId::RequirementProcessor},
};

control::requirements::RequirementValues ReadRequirements(const std::string& ini) {
    using core::settings::kShortValueSize;
    namespace k = core::keys::system;
    control::requirements::RequirementValues v;
    v.processor = core::settings::Read(ini, k::kSection, k::kProcessor, kShortValueSize);
    v.memory = core::settings::Read(ini, k::kSection, k::kMemory, kShortValueSize);
    v.screen = core::settings::Read(ini, k::kSection, k::kScreen, kShortValueSize);
    v.colors = core::settings::Read(ini, k::kSection, k::kColors, kShortValueSize);
    for (int i = 0; i < static_cast<int>(v.os.size()); ++i)
        v.os[i] = core::settings::ReadListField(ini, k::kSection, k::kOsAllowed, i, kShortValueSize);
    return v;
}

// The message of a failed check: the message file's text, else the built-in
// one, expanded once when read and once more when shown.
std::string FailureMessage(const SystemCheckContext& c, RequirementFailure failure) {
    for (const CheckMessage& m : kMessages) {
        if (m.failure != failure) continue;
        const std::string text = core::LocalisedText(m.message, [&c](const char* section, const char* key) {
            return core::settings::Read(c.messageFilePath, section, key);
        });
        return c.expand(c.expand(text));
    }
    return std::string();
}

}  // namespace

control::requirements::MachineFacts MeasureMachine() {
    control::requirements::MachineFacts m;
    m.version = MachineOsVersion();
    MEMORYSTATUS memory = {};
    memory.dwLength = sizeof memory;
    GlobalMemoryStatus(&memory);
    m.totalPhysicalBytes = memory.dwTotalPhys;
    m.screenWidth = GetSystemMetrics(SM_CXSCREEN);
    m.screenHeight = GetSystemMetrics(SM_CYSCREEN);
    if (HDC screen = GetDC(nullptr)) {
        m.bitsPerPixel = GetDeviceCaps(screen, BITSPIXEL);
        ReleaseDC(nullptr, screen);
    }
    ProcessorInfo cpu;
    if (IdentifyProcessor(cpu)) m.processorName = cpu.name;
    return m;
}

bool CheckSystemRequirements(const SystemCheckContext& c, const control::requirements::MachineFacts& m) {
    const RequirementFailure failure =
        control::requirements::FirstFailedRequirement(ReadRequirements(c.settingsPath), m);
    if (failure == RequirementFailure::None) return true;
    c.showMessage(FailureMessage(c, failure));
    return false;
}

bool CheckAdministratorRights(const SystemCheckContext& c) {
    namespace k = core::keys::appinfo;
    if (core::settings::ReadYes(c.settingsPath, k::kSection, k::kNeedsAdministrator,
                          core::settings::kShortValueSize) &&
        c.noAdministrator) {
        c.showMessage(core::EnglishText(core::MessageId::AdministratorRights));
        return false;
    }
    return true;
}

}  // namespace control
