// The text rules of the shortcut action, without a Windows call: where a
// shortcut's location puts it, whether its group folder is created, and the
// link's show command.
//
// A location is a path through the user's shell folders ending with the
// shortcut's name: "Start Menu\Programs Menu\Group\Name", "Desktop\Name",
// "Active Desktop\Name" (Quick Launch). Only the words that begin the
// location name a shell folder, so a group named "Desktop Tools" or
// "Favorites" below the Programs menu keeps its name.
#pragma once

#include <string>

#include "core/SetupState.h"

namespace install::shortcutrules {

// The location without its trailing backslashes.
std::string TrimLocation(const std::string& location);

// The location with its leading shell-folder words replaced by the folder
// they name: "Start Menu\Programs Menu" the Programs menu, "Start
// Menu\StartUp" the Startup folder, "Desktop", "Favorites", then "Start Menu"
// the Start menu; "Active Desktop\" makes the location the Quick Launch
// folder below the application-data folder ("%s\Microsoft\Internet
// Explorer\Quick Launch\%s"). A doubled backslash where the folder meets
// the rest is reduced to one. A location that begins with no word is
// returned as it is; "" when the word's folder is unknown (empty).
std::string ReplaceShellFolderWords(const std::string& location, const core::SpecialFolderValues& folders);

// The shortcut's folder: the path without its last component, ending with
// a backslash ("" for a path without a backslash).
std::string ShortcutFolder(const std::string& path);

// Whether the shortcut's folder is a group to create and log, from the
// untouched location and the expanded name: when the location holds "Start
// Menu" or "Desktop", every occurrence of the name and then a trailing
// backslash are removed first. Below the Programs menu a group is one more
// backslash deep than the menu itself; elsewhere any backslash left makes
// one. So the Programs menu, the bare Start menu and the Desktop are never
// created, while a group below them is.
bool CreatesGroupFolder(const std::string& location, const std::string& expandedName);

// Whether `folder` is one of the shell folders themselves (the Programs menu,
// Start menu, Startup, Desktop, Favorites, application data), compared
// without regard to ASCII case or a trailing backslash. Such a folder is
// never a group of the product: it is neither made nor logged for removal.
bool IsShellFolder(const std::string& folder, const core::SpecialFolderValues& folders);

// The show command of a window state: SW_SHOWMAXIMIZED (3) for "Maximized",
// SW_MINIMIZE (6) for "Minimized", 0 (the link's default) for anything else.
int ShowCommandOf(const std::string& windowState);

}  // namespace install::shortcutrules
