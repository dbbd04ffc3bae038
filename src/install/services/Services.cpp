#include "install/services/Services.h"

#include <optional>

#include "core/Messages.h"
#include "core/Settings.h"
#include "install/services/ServiceManager.h"
#include "install/shared/EarlierOwnership.h"
#include "install/services/ServiceRules.h"

namespace install {

namespace {

namespace keys = core::keys::ntservice;
using servicemanager::CreateOutcome;
using servicemanager::NewService;

std::string Field(const InstallContext& context, const char* letter, int index) {
    return core::settings::ReadListField(context.Setup().settingsPath, keys::kSection, letter, index);
}

// Entry `index` as the service control manager takes it. Fields G and H are
// carried by projects but mean nothing to the installer.
NewService ReadEntry(const InstallContext& context, int index) {
    NewService service;
    service.name = Field(context, keys::kName, index);
    service.displayName = Field(context, keys::kDisplayName, index);
    service.commandLine = context.Expand(Field(context, keys::kCommandLine, index));
    service.type = servicerules::ServiceTypeFromText(Field(context, keys::kType, index));
    service.startType = servicerules::StartTypeFromText(Field(context, keys::kStartType, index));
    service.errorControl =
        servicerules::ErrorControlFromText(Field(context, keys::kErrorControl, index));
    return service;
}

// The product's own service, made by its earlier run, is the product's
// still: claimed for the removal, and changed in place to this entry's
// settings, the ones it had kept for a rollback. True when it is one (the
// claim is logged before anything is asked, so that even an Ignore leaves
// no service of the product's behind after a removal).
bool ClaimEarlierService(InstallContext& context, const NewService& service,
                         std::optional<NewService>& before) {
    if (!context.EarlierRunOwned(core::LogKind::NtService, service.name)) return false;
    before = servicemanager::ReadServiceSettings(service.name);
    if (!before) return false;
    LogClaim(context, core::LogKind::NtService, service.name);
    const std::string settings = core::FormatServiceSettings(*before);
    if (!settings.empty()) LogForRollback(context, core::LogKind::ServiceConfig, settings);
    return true;
}

// Creates the service of entry `index` (or changes the product's own in
// place), asking the user what to do while it fails. Cancel marks the run
// abandoned but leaves the working folder: the uninstall registration that
// follows still reads its files there.
void InstallEntry(InstallContext& context, int index) {
    const NewService service = ReadEntry(context, index);
    std::optional<NewService> before;
    const bool own = ClaimEarlierService(context, service, before);
    for (;;) {
        unsigned long error = 0;
        if (own && servicemanager::ChangeService(service, error)) return;
        if (!own) {
            const CreateOutcome outcome = servicemanager::CreateNewService(service, error);
            if (outcome == CreateOutcome::NoManager) return;  // nobody to ask about
            if (outcome == CreateOutcome::Created) {
                context.Log(core::LogKind::NtService, service.name);
                return;
            }
        }
        const std::string text =
            core::FormatText(core::EnglishText(core::MessageId::ServiceFailed), {service.displayName});
        const ErrorChoice choice = context.Ask({text});
        if (choice == ErrorChoice::Ignore) return;
        if (choice == ErrorChoice::Cancel) {
            context.MarkAbandoned();
            return;
        }
    }
}

}  // namespace

ActionResult InstallServices(InstallContext& context) {
    const int total = core::settings::ReadInstallListCount(context.Setup().settingsPath, keys::kSection,
                                                           core::settings::kShortValueSize);
    if (total == 0) return ActionResult::Continue;
    context.SetStatus(core::EnglishText(core::MessageId::StatusInstallingService));
    // Older systems have no service control manager: their entries are skipped.
    if (!servicerules::HasServices(context.Setup().osName)) return ActionResult::Continue;
    for (int i = 0; i < total; ++i) InstallEntry(context, i);
    return ActionResult::Continue;
}

}  // namespace install
