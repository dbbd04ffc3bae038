// The service control manager of this machine, for the services action:
// creating a service, nothing more (the installer never starts one).
#pragma once

#include <cstdint>
#include <string>

namespace install::servicemanager {

// What the service control manager is given for a new service.
struct NewService {
    std::string name;         // the service's key name
    std::string displayName;
    std::string commandLine;  // the service program with its arguments
    uint32_t type = 0;
    uint32_t startType = 0;
    uint32_t errorControl = 0;
};

enum class CreateOutcome {
    Created,
    NoManager,  // the service control manager could not be opened
    Failed      // the manager refused the service (it exists, a bad name, ...)
};

// Opens the local service control manager with full access and creates the
// service with full access, in no load-order group, without dependencies,
// running as the local system account. Every handle is closed again. On a
// failure `error` holds the system's error code (0 on success), and the
// failing call goes to the trace.
CreateOutcome CreateNewService(const NewService& service, unsigned long& error);

}  // namespace install::servicemanager
