// The folders a removal never deletes whole, whatever its log says: the
// system's own folders, the user's profile and shell folders, and the folder
// the uninstaller runs from.
#pragma once

#include <string>
#include <vector>

#include "core/InstallScopeRules.h"

namespace install {

// The Windows, system, program-files and common-files folders, the temporary
// folder, the user profile and the shell folders of the user and of all users
// (desktop, programs, start menu, startup, favorites, application data,
// documents, pictures, music, fonts, send-to, templates...). Without trailing
// backslashes; folders the system does not know are left out. Everyone's
// product (AllUsers) adds every profile of the machine and the same shell
// folders in each (core::scope::ProfileFolders), so that the folders stay
// whoever removes it; a user's product is the remover's own.
std::vector<std::string> ProtectedFolders(core::scope::InstallScope scope);

// The folder of the running program, with a trailing backslash ("" when the
// system cannot say).
std::string ProgramFolder();

}  // namespace install
