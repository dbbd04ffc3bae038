// Identifiers of the uninstaller's own dialogs (uninstall.rc).
#pragma once

// The removal window used when the product shipped no "uninstall.lcd".
#define IDD_UNINSTALL 400
#define IDC_UNINSTALL_TEXT 4001
#define IDC_UNINSTALL_PROGRESS 4002
#define IDC_UNINSTALL_STATUS 4003

// The maintenance choices.
#define IDD_MAINTENANCE 410
#define IDC_MAINTENANCE_TEXT 4101
#define IDC_MAINTENANCE_NOTE 4102
#define IDC_MAINTENANCE_MODIFY 4103
#define IDC_MAINTENANCE_REPAIR 4104
#define IDC_MAINTENANCE_REMOVE 4105
