// How a run over an installed product logs what the product's earlier run
// made (OwnershipRules.h: what that run owns). What this run finds of it in
// place stays the product's, so a removal undoes it; a rollback of this run
// must leave it as the earlier run left it.
#pragma once

#include <windows.h>

#include <string>

#include "core/UninstallLog.h"
#include "install/InstallContext.h"

namespace install {

// A record of the product's that this run found in place: a removal undoes
// it, a rollback leaves it.
void LogClaim(InstallContext& ctx, core::LogKind kind, const std::string& value);
// What was there when this run began, made by the earlier run: only a
// rollback puts it back.
void LogForRollback(InstallContext& ctx, core::LogKind kind, const std::string& value);

// Before a registry value is overwritten or deleted (`path`: root name, key
// and value name as REGVAL writes them): the value as it is (REGPREV), so
// that a rollback and a removal write it back. A value the earlier run set
// is the product's: the earlier REGPREV lines (what was there before the
// product) are claimed again for a removal, and the value as it is now is
// kept for a rollback only.
void LogPreviousValue(InstallContext& ctx, HKEY root, const std::string& subKey, const std::string& name,
                      const std::string& path);

}  // namespace install
