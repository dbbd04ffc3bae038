#include "skin/LocalisedLayout.h"

#include "skin/LanguageFile.h"
#include "skin/LayoutLocalisation.h"
#include "skin/ProfileIniSource.h"

namespace skin {

LocalisedEntries LocalisedLayoutEntries(const std::string& layoutPath, const std::string& languageFile) {
    const std::string fileName = layoutPath.substr(layoutPath.find_last_of("\\/") + 1);
    if (languageFile.empty() || !layout::IsLocalisedLayout(fileName)) return {};
    const ProfileIniSource layout(layoutPath);
    const OpenedLanguageFile language = OpenLanguageFile(languageFile);
    LocalisedEntries result;
    result.entries = layout::LocalisedEntries(layout::LayoutFile(layout, layoutPath), fileName, *language.source);
    result.unicode = language.unicode;
    return result;
}

}  // namespace skin
