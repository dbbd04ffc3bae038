// How a run over an installed product logs what the product's earlier run
// made (OwnershipRules.h: what that run owns). What this run finds of it in
// place stays the product's, so a removal undoes it; a rollback of this run
// must leave it as the earlier run left it.
#pragma once

#include <windows.h>

#include <string>

#include "core/UninstallLog.h"
#include "install/InstallContext.h"
#include "install/shared/OwnershipRules.h"

namespace install {

// Paths, keys and names as this system compares them: every letter of the
// ANSI code page without regard to case.
ownership::PathKey SystemPathKey();

// A record of the product's that this run found in place: a removal undoes
// it, a rollback leaves it.
void LogClaim(InstallContext& ctx, core::LogKind kind, const std::string& value);
// What was there when this run began, made by the earlier run: only a
// rollback puts it back.
void LogForRollback(InstallContext& ctx, core::LogKind kind, const std::string& value);

// A record the new version keeps for good, which the earlier version made to
// be undone (a permanent item that was removable before): undone by
// nothing, it keeps the commit from taking the item.
void LogKeptForGood(InstallContext& ctx, core::LogKind kind, const std::string& value);

// Whether the product's earlier run wrote the registry value at `path`
// (root name, key and value name): a REGVAL or ENVKEPT of it, or a REGPREV
// or REGOLD keeping what it held before.
bool EarlierRunWroteValue(const InstallContext& ctx, const std::string& path);
// The earlier run's lines about the value at `path` that a removal acts on
// (what it held before the product, and with `withWritten` the REGVAL that
// deletes it), claimed again.
void ClaimEarlierValueLines(InstallContext& ctx, const std::string& path, bool withWritten);

// Before a registry value is overwritten or deleted (`path`: root name, key
// and value name as REGVAL writes them): the value as it is (REGPREV), so
// that a rollback and a removal write it back. A value the earlier run set
// is the product's: the earlier REGPREV lines (what was there before the
// product) are claimed again for a removal, and the value as it is now is
// kept for a rollback only.
void LogPreviousValue(InstallContext& ctx, HKEY root, const std::string& subKey, const std::string& name,
                      const std::string& path);

}  // namespace install
