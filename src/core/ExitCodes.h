// Exit codes of setup.exe. Interactive runs end with 0 once the user has
// seen how they ended; an unattended run tells the deployment tool that
// started it how it ended, and 0 means installed, nothing less.
#pragma once

namespace core {

enum ExitCode {
    kExitInstalled = 0,        // finished (interactive runs: always)
    kExitAbandoned = 1,        // cancelled, or abandoned at a failed copy
    kExitRefused = 2,          // the machine does not meet the project's requirements
    kExitPreparationFailed = 3, // the payload cabinet could not be extracted
    // The setup could not run: its project files are missing or damaged (in
    // every mode: the unattended setting is inside them), or a window, the
    // installation's worker thread or COM could not be started.
    kExitFailed = 4,
    // Installed; an add-on program or the merge modules need a restart to
    // complete (the Windows Installer's own code for it).
    kExitRestartRequired = 3010
};

}  // namespace core
