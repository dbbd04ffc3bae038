// Exit codes of cvexec.exe. The setup waits for a silent removal and
// deployment tools read its code: 0 means the product is gone, nothing less.
// Interactive runs end with the same codes once the user has seen the
// closing message.
#pragma once

namespace uninstall {

enum ExitCode {
    kExitRemoved = 0,          // everything the log names was removed
    kExitLeftOver = 1,         // something stays: it could not be removed, or a log line was of an unknown kind
    // The rest goes when the computer restarts: the code deployment tools
    // read as "done, restart required".
    kExitRestartNeeded = 3010,
    kExitNotRemovable = 3,     // not registered, or its log missing or unreadable: nothing was removed
    kExitBadCommandLine = 4,   // no option, no product code, or one that names no key
    kExitDeclined = 5,         // the user chose not to remove (or left maintenance); nothing was removed
    kExitFailed = 6,           // a window or the removal's worker thread could not be made; nothing was removed
};

}  // namespace uninstall
