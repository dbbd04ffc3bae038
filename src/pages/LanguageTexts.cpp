#include "pages/LanguageTexts.h"

#include "core/Settings.h"
#include "pages/PageRules.h"

namespace pages {

std::string LanguageText(const std::string& languageFile, const char* section, const char* key,
                         const std::string& fallback) {
    if (languageFile.empty()) return fallback;
    const std::string text = LanguageTextForm(settings::Read(languageFile, section, key));
    return text.empty() ? fallback : text;
}

}  // namespace pages
