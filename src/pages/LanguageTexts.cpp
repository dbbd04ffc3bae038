#include "pages/LanguageTexts.h"

#include "core/Settings.h"
#include "skin/LayoutLocalisation.h"

namespace pages {

std::string LanguageText(const std::string& languageFile, const char* section, const char* key,
                         const std::string& fallback) {
    if (languageFile.empty()) return fallback;
    const std::string text = skin::layout::LanguageTextForm(core::settings::Read(languageFile, section, key));
    return text.empty() ? fallback : text;
}

std::string LanguageText(const std::string& languageFile, core::MessageId message) {
    const core::MessageEntry& entry = core::Message(message);
    if (!*entry.section) return entry.english;
    return LanguageText(languageFile, entry.section, entry.key, entry.english);
}

}  // namespace pages
