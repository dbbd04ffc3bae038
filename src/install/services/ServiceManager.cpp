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

// An open manager and service, closed when it goes.
struct ServiceHandle {
    SC_HANDLE manager = nullptr;
    SC_HANDLE service = nullptr;
    ServiceHandle(const std::string& name, DWORD access) {
        manager = OpenSCManagerA(nullptr, nullptr, SC_MANAGER_CONNECT);
        if (manager) service = OpenServiceA(manager, name.c_str(), access);
    }
    ~ServiceHandle() {
        if (service) CloseServiceHandle(service);
        if (manager) CloseServiceHandle(manager);
    }
    ServiceHandle(const ServiceHandle&) = delete;
    ServiceHandle& operator=(const ServiceHandle&) = delete;
};

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

bool StartAndWait(SC_HANDLE service, const std::string& name) {
    if (!StartServiceA(service, 0, nullptr) && GetLastError() != ERROR_SERVICE_ALREADY_RUNNING) {
        core::trace::Failure("StartServiceA", name, GetLastError());
        return false;
    }
    return true;
}

}  // namespace

std::optional<NewService> ReadServiceSettings(const std::string& name) {
    ServiceHandle open(name, SERVICE_QUERY_CONFIG);
    if (!open.service) return std::nullopt;
    DWORD needed = 0;
    QueryServiceConfigA(open.service, nullptr, 0, &needed);
    if (needed == 0 || needed > 64 * 1024) return std::nullopt;
    std::string buffer(needed, '\0');
    auto* config = reinterpret_cast<QUERY_SERVICE_CONFIGA*>(&buffer[0]);
    if (!QueryServiceConfigA(open.service, config, needed, &needed)) {
        core::trace::Failure("QueryServiceConfigA", name, GetLastError());
        return std::nullopt;
    }
    NewService settings;
    settings.name = name;
    settings.type = config->dwServiceType;
    settings.startType = config->dwStartType;
    settings.errorControl = config->dwErrorControl;
    settings.displayName = config->lpDisplayName ? config->lpDisplayName : "";
    settings.commandLine = config->lpBinaryPathName ? config->lpBinaryPathName : "";
    return settings;
}

bool ChangeService(const NewService& service, unsigned long& error) {
    error = 0;
    ServiceHandle open(service.name, SERVICE_CHANGE_CONFIG | SERVICE_QUERY_STATUS | SERVICE_STOP | SERVICE_START);
    if (!open.service) {
        error = GetLastError();
        core::trace::Failure("OpenServiceA", service.name, error);
        return false;
    }
    if (!ChangeServiceConfigA(open.service, service.type, service.startType, service.errorControl,
                              service.commandLine.c_str(), nullptr, nullptr, nullptr, nullptr, nullptr,
                              service.displayName.c_str())) {
        error = GetLastError();
        core::trace::Failure("ChangeServiceConfigA", service.name, error);
        return false;
    }
    SERVICE_STATUS_PROCESS status = {};
    if (QueryStatus(open.service, status) && status.dwCurrentState != SERVICE_STOPPED &&
        StopAndWait(open.service, service.name))
        StartAndWait(open.service, service.name);
    return true;
}

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
