// Exit codes of setup.exe, the same in every mode: 0 means installed,
// nothing less, whether a deployment tool started the run unattended or a
// user saw how it ended on a page or in a message.
#pragma once

namespace core {

enum ExitCode {
    kExitInstalled = 0,        // installed
    kExitAbandoned = 1,        // cancelled, or abandoned at a failed copy
    kExitRefused = 2,          // the machine does not meet the project's requirements
    kExitPreparationFailed = 3, // the payload cabinet could not be extracted
    // The setup could not run: its project files are missing or damaged (in
    // every mode, with a message unless /S was given: the project's
    // unattended setting is inside them), or a window, the installation's
    // worker thread or COM could not be started.
    kExitFailed = 4,
    // The command line was refused (an unknown switch, a switch without its
    // value, a /D= folder the destination page would refuse, a /LOG= file
    // that cannot be written): nothing ran, in every mode.
    kExitBadCommandLine = 5,
    // Installed, but an add-on program or the merge-module package failed
    // (it could not start, or ended with a code other than 0, 3010, 1641).
    kExitAddOnFailed = 6,
    // Installed; an add-on program or the merge modules need a restart to
    // complete (the Windows Installer's own code for it).
    kExitRestartRequired = 3010
};

}  // namespace core
