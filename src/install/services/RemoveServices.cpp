#include "install/services/RemoveServices.h"

#include "install/services/ServiceManager.h"

namespace install {

namespace {

// A rollback gives the product's own service the settings it had before
// the run changed them.
void RestoreSettings(UndoContext& context, const std::string& recordValue) {
    core::ServiceSettings settings;
    unsigned long error = 0;
    if (!core::ParseServiceSettings(recordValue, settings) || !servicemanager::ChangeService(settings, error))
        context.LeftOver(recordValue);
}

}  // namespace

void RemoveServices(UndoContext& context) {
    for (const core::LogRecord* record : NewestFirst(context, core::LogKind::ServiceConfig)) {
        RestoreSettings(context, record->value);
        context.Advance();
    }
    for (const core::LogRecord* record : NewestFirst(context, core::LogKind::NtService)) {
        const std::string& name = record->value;
        unsigned long error = 0;
        // An empty name would open no service; there is nothing to remove.
        const servicemanager::DeleteOutcome outcome =
            name.empty() ? servicemanager::DeleteOutcome::Deleted : servicemanager::StopAndDeleteService(name, error);
        if (outcome == servicemanager::DeleteOutcome::AtRestart) context.RestartNeeded(name);
        else if (outcome == servicemanager::DeleteOutcome::Failed) context.LeftOver(name);
        context.Advance();
    }
}

}  // namespace install
