#include "install/services/ServiceManager.h"

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

namespace {

constexpr DWORD kPollMs = 250;

bool QueryStatus(SC_HANDLE service, SERVICE_STATUS_PROCESS& status) {
    DWORD needed = 0;
    return QueryServiceStatusEx(service, SC_STATUS_PROCESS_INFO, reinterpret_cast<BYTE*>(&status),
                                sizeof status, &needed) != 0;
}

// Waits for the process that ran the service: a stopped service's process
// may still be ending, and holds its program file until then.
void WaitForProcessEnd(DWORD processId, DWORD waitMs) {
    if (processId == 0) return;
    HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, processId);
    if (!process) return;  // ended already
    if (WaitForSingleObject(process, waitMs) != WAIT_OBJECT_0)
        core::trace::Value("service process still running", std::to_string(processId));
    CloseHandle(process);
}

// Asks the service to stop and waits until it has; true when it has stopped.
bool StopAndWait(SC_HANDLE service, const std::string& name) {
    SERVICE_STATUS_PROCESS status = {};
    if (!QueryStatus(service, status)) {
        core::trace::Failure("QueryServiceStatusEx", name, GetLastError());
        return false;
    }
    if (status.dwCurrentState == SERVICE_STOPPED) return true;
    const bool ownProcess = (status.dwServiceType & SERVICE_WIN32_OWN_PROCESS) != 0;
    const DWORD processId = status.dwProcessId;
    SERVICE_STATUS ignored;
    if (status.dwCurrentState != SERVICE_STOP_PENDING &&
        !ControlService(service, SERVICE_CONTROL_STOP, &ignored))
        core::trace::Failure("ControlService", name, GetLastError());
    // GetTickCount wraps after 49 days; the difference of two readings does not.
    const DWORD start = GetTickCount();
    while (status.dwCurrentState != SERVICE_STOPPED && GetTickCount() - start < kStopWaitMs) {
        Sleep(kPollMs);
        if (!QueryStatus(service, status)) break;
    }
    if (status.dwCurrentState != SERVICE_STOPPED) return false;
    const DWORD spent = GetTickCount() - start;
    if (ownProcess) WaitForProcessEnd(processId, spent < kStopWaitMs ? kStopWaitMs - spent : 0);
    return true;
}

}  // namespace

DeleteOutcome StopAndDeleteService(const std::string& name, unsigned long& error) {
    error = 0;
    SC_HANDLE manager = OpenSCManagerA(nullptr, nullptr, SC_MANAGER_CONNECT);
    if (!manager) {
        error = GetLastError();
        core::trace::Failure("OpenSCManagerA", error);
        return DeleteOutcome::Failed;
    }
    SC_HANDLE service = OpenServiceA(manager, name.c_str(), SERVICE_STOP | SERVICE_QUERY_STATUS | DELETE);
    if (!service) {
        error = GetLastError();
        CloseServiceHandle(manager);
        if (error == ERROR_SERVICE_DOES_NOT_EXIST) return DeleteOutcome::Deleted;
        core::trace::Failure("OpenServiceA", name, error);
        return DeleteOutcome::Failed;
    }
    const bool stopped = StopAndWait(service, name);
    const bool deleted = DeleteService(service) != 0;
    if (!deleted) {
        error = GetLastError();
        core::trace::Failure("DeleteService", name, error);
    }
    CloseServiceHandle(service);
    CloseServiceHandle(manager);
    if (!deleted) return error == ERROR_SERVICE_MARKED_FOR_DELETE ? DeleteOutcome::AtRestart : DeleteOutcome::Failed;
    // A service still running stays marked for deletion until it stops.
    return stopped ? DeleteOutcome::Deleted : DeleteOutcome::AtRestart;
}

}  // namespace install::servicemanager
