// How much room the installation takes, for the list of programs.
#pragma once

#include <cstdint>

#include "install/InstallContext.h"

namespace install {

// Kibibytes, rounded up, of the files now at the destinations of the run's
// file records; a destination that two records share counts once, one that
// holds no file (skipped, not downloaded) counts nothing. Capped at the
// largest 32-bit number.
uint32_t InstalledKibibytes(InstallContext& context);

}  // namespace install
