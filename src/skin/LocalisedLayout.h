// The captions a language file puts on a standard layout file on disk.
#pragma once

#include <map>
#include <string>

namespace skin {

// Property entries (DADOS key to value) read in place of a layout's own.
struct LocalisedEntries {
    std::map<std::string, std::string> entries;
    // The texts came from a Unicode language file: they are UTF-8, shown
    // with the wide calls; otherwise ANSI like the layout's own.
    bool unicode = false;
};

// The property entries that `languageFile` puts on the layout at
// `layoutPath`, whose file name says which standard page it is; empty when
// `languageFile` is "" or the layout is not a standard one. For
// SkinnedPage::SetLocalisedEntries.
LocalisedEntries LocalisedLayoutEntries(const std::string& layoutPath, const std::string& languageFile);

}  // namespace skin
