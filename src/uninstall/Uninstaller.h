// The uninstaller's run: from the command line to the exit code (ExitCodes.h).
//
//   /R    the registration and the log are read, the removal window asks,
//         the removal runs with its progress, the closing message says what
//         stays;
//   /M    the maintenance choices first; remove goes on as /R;
//   /S    the same removal without any window.
//
// Nothing is removed without the product's log: a missing or unreadable log
// is reported, and only an interactive run takes the product off the list
// of programs, and only when the user agrees.
#pragma once

#include "uninstall/CommandLine.h"

namespace uninstall {

// Starts the diagnostic log (the command's /LOG= file, else CVSETUP_TRACE's),
// runs the command and records its exit code there.
int RunUninstaller(const Command& command);

}  // namespace uninstall
