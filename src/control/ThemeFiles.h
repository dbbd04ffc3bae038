// Theme files shipped beside the setup under names beginning with "^!" are
// moved into the theme folder under their plain names.
#pragma once

#include <string>

namespace control {

// Creates the theme folder (an existing one is kept) and moves every "^!"
// file of the source folder into it with every "^!" removed from its name. A
// file of that name already in the theme folder is not replaced: the "^!"
// file then stays where it is. Returns the number of files moved.
int MoveThemeFiles(const std::string& sourceFolder, const std::string& themeFolder);

}  // namespace control
