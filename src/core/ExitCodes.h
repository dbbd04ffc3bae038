// Exit codes of setup.exe. Interactive runs always end with 0, whatever
// happened; an unattended run tells the deployment tool that started it how
// it ended.
#pragma once

namespace core {

enum ExitCode {
    kExitInstalled = 0,        // finished (interactive runs: always)
    kExitAbandoned = 1,        // cancelled, or abandoned at a failed copy
    kExitRefused = 2,          // the machine does not meet the project's requirements
    kExitPreparationFailed = 3 // the payload cabinet could not be extracted
};

}  // namespace core
