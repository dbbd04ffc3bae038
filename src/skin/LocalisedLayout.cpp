#include "skin/LocalisedLayout.h"

#include "skin/LayoutLocalisation.h"
#include "skin/ProfileIniSource.h"

namespace skin {

std::map<std::string, std::string> LocalisedLayoutEntries(const std::string& layoutPath,
                                                          const std::string& languageFile) {
    const std::string fileName = layoutPath.substr(layoutPath.find_last_of("\\/") + 1);
    if (languageFile.empty() || !layout::IsLocalisedLayout(fileName)) return {};
    const ProfileIniSource layout(layoutPath), language(languageFile);
    return layout::LocalisedEntries(layout::LayoutFile(layout, layoutPath), fileName, language);
}

}  // namespace skin
