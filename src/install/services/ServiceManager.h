// The service control manager of this machine: creating a service for the
// services action (the installer never starts one), and stopping and
// deleting it again at removal.
#pragma once

#include <optional>
#include <string>

#include "core/UninstallLog.h"

namespace install::servicemanager {

// What the service control manager is given for a service: its key name,
// display name, program with its arguments, type, start type and error
// control, as a SVCCONFIG record holds them.
using NewService = core::ServiceSettings;

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

// The settings of an existing service; nullopt when there is none of that
// name (or the manager cannot tell).
std::optional<NewService> ReadServiceSettings(const std::string& name);

// Changes an existing service to `service`'s settings in place (its account
// stays). When it runs, it is stopped and started again, so that it runs
// what it is set to now. False (with the system's `error`) when the
// settings could not be changed.
bool ChangeService(const NewService& service, unsigned long& error);

enum class DeleteOutcome {
    Deleted,    // gone, or there was no service of that name
    AtRestart,  // marked for deletion: it goes once it has stopped and every handle is closed
    Failed      // stays (no manager, no access, ...)
};

// The longest a removal waits for a service to stop and its own process to end.
constexpr unsigned long kStopWaitMs = 20000;

// Stops the service and waits up to kStopWaitMs until it has stopped and,
// for a service in a process of its own, until that process has ended, so
// that its files can be deleted; then deletes it. A service that does not
// stop in time, or that was marked for deletion before, ends AtRestart.
// `error` holds the system's error code of a failure (0 otherwise).
DeleteOutcome StopAndDeleteService(const std::string& name, unsigned long& error);

}  // namespace install::servicemanager
