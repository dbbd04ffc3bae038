// Removal of what the registry and association actions wrote: values,
// keys the project listed, class keys the run created and class values it
// overwrote.
#pragma once

#include <string>

#include "install/UndoContext.h"

namespace install {

// Deletes every logged value (REGVAL) but the environment's, which
// RestoreEnvironment owns; then every logged key (REGKEY) that holds no
// values and no sub-keys any more, the deepest first. A key that still
// holds something stays unreported: the project may have listed a key that
// existed before.
void RemoveRegistryValues(UndoContext& context);

// Deletes every class key the run created (REMKEY, only under
// HKEY_CLASSES_ROOT) with everything below it and writes back every class
// value it overwrote (REGOLD) with its former type and text, the newest
// record first; then tells the shell that associations changed.
void UnregisterAssociations(UndoContext& context);

// Deletes the value a REGVAL record names ("ROOT\key\name", a trailing
// backslash for the default value). A value or key that is not there counts
// as removed; one that stays is reported LeftOver. True when a value was
// deleted.
bool RemoveLoggedValue(UndoContext& context, const std::string& valuePath);

}  // namespace install
