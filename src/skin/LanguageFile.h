// Opening an applied language file as its encoding says: a file with a
// UTF-8 or UTF-16 byte-order mark is decoded into UTF-8 and read in memory
// (its texts are then shown with the wide calls); any other file is read
// through the profile functions in the ANSI code page, as it always was.
#pragma once

#include <memory>
#include <string>

#include "skin/IniSource.h"

namespace skin {

struct OpenedLanguageFile {
    std::unique_ptr<IniSource> source;  // never null: an unreadable file reads as empty
    bool unicode = false;               // texts are UTF-8, not ANSI
};

OpenedLanguageFile OpenLanguageFile(const std::string& path);

}  // namespace skin
