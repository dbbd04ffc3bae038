#include "pages/LanguageTexts.h"

#include "core/Settings.h"
#include "pages/PageRules.h"
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

std::string SetupTypeName(const std::string& languageFile, int setupType) {
    static const core::MessageId kEnglish[] = {core::MessageId::ReadyTypical, core::MessageId::ReadyMinimal,
                                               core::MessageId::ReadyCustom};
    const char* control = SetupTypeControl(setupType);
    if (!control) return "";
    const std::string english = core::EnglishText(kEnglish[setupType]);
    // The key the setup type page's own caption comes from.
    const auto key = skin::layout::LanguageKeyOf("setuptype.lcd", control);
    return WithoutAccessKey(key ? LanguageText(languageFile, key->section, key->key, english) : english);
}

}  // namespace pages
