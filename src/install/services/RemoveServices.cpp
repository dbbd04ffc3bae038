#include "install/services/RemoveServices.h"

#include "install/services/ServiceManager.h"

namespace install {

void RemoveServices(UndoContext& context) {
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
