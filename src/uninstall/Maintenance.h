// The maintenance choices of "/M": modify and repair start the setup again
// from the folder it was installed from, remove goes on as "/R". The
// registration turns choices off (NoModify, NoRemove, NoRepair): those are
// not offered.
#pragma once

#include <string>

#include "uninstall/InstalledProduct.h"
#include "uninstall/UninstallTexts.h"

namespace uninstall {

enum class MaintenanceChoice { Leave, Modify, Repair, Remove };

// Shows the choices and returns the user's. Modify and repair are offered
// only when `setupPresent`; otherwise a note says why they are off. Leave
// when the dialog cannot be shown.
MaintenanceChoice ChooseMaintenance(const InstalledProduct& product, const UninstallTexts& texts,
                                    bool setupPresent);

// Starts the setup in its own folder (it works in its current folder) and
// does not wait: the setup replaces the uninstaller in the Windows folder.
bool StartSetup(const std::string& setupPath);

}  // namespace uninstall
