#include "install/ServiceManager.h"

#include <windows.h>

#include "core/Trace.h"

namespace install::servicemanager {

CreateOutcome CreateNewService(const NewService& service, unsigned long& error) {
    error = 0;
    SC_HANDLE manager = OpenSCManagerA(nullptr, nullptr, SC_MANAGER_ALL_ACCESS);
    if (!manager) {
        error = GetLastError();
        core::trace::Failure("OpenSCManagerA", error);
        return CreateOutcome::NoManager;
    }
    // No account and no password: the service runs as the local system.
    SC_HANDLE created = CreateServiceA(manager, service.name.c_str(), service.displayName.c_str(),
                                       SERVICE_ALL_ACCESS, service.type, service.startType,
                                       service.errorControl, service.commandLine.c_str(), nullptr,
                                       nullptr, nullptr, nullptr, nullptr);
    if (!created) {
        error = GetLastError();
        core::trace::Failure("CreateServiceA", error);
    } else {
        CloseServiceHandle(created);
    }
    CloseServiceHandle(manager);
    return created ? CreateOutcome::Created : CreateOutcome::Failed;
}

}  // namespace install::servicemanager
