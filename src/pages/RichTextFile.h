// Streaming a rich-text file into a rich edit control.
#pragma once

#include <windows.h>

#include <string>

namespace pages {

// Streams the file as RTF into the control, in the chunks the control asks
// for. False (control left as it was) when the file cannot be opened.
bool StreamRichTextFile(HWND control, const std::string& path);

}  // namespace pages
