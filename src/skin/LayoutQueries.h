// Questions other parts of the program ask a layout file on disk without
// building a page: read through the profile functions like the page reads.
#pragma once

#include <string>

namespace skin::layout {

// INFO TOTAL of the layout file at `path` (a full path); 0 when absent.
int ControlCountOfFile(const std::string& path);

// The value of the first property entry of the control at line index
// `index` (DADOS key "300i,0" for i up to 9, "30i,0" from 10).
std::string FirstPropertyValueOfFile(const std::string& path, int index);

}  // namespace skin::layout
