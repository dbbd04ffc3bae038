// The captions a language file puts on a standard layout file on disk.
#pragma once

#include <map>
#include <string>

namespace skin {

// The property entries (DADOS key to value) that `languageFile` puts on the
// layout at `layoutPath`, whose file name says which standard page it is;
// empty when `languageFile` is "" or the layout is not a standard one. For
// SkinnedPage::SetLocalisedEntries.
std::map<std::string, std::string> LocalisedLayoutEntries(const std::string& layoutPath,
                                                          const std::string& languageFile);

}  // namespace skin
