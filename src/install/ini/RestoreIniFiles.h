// Removal of what the INI action wrote.
#pragma once

#include "install/UndoContext.h"

namespace install {

// Puts every entry the run wrote (INIVAL) back as it was, the newest record
// first: its former value written back, or the entry deleted, and a section
// the run brought in deleted once nothing is left in it. Then deletes each
// INI file the run created (INIFILE) in which no section holds an entry any
// more; one that holds an entry someone else added stays.
void RestoreIniFiles(UndoContext& context);

}  // namespace install
