#include "pages/LanguageTexts.h"

#include <windows.h>

#include "core/Settings.h"
#include "core/WideText.h"
#include "pages/PageRules.h"
#include "skin/LanguageFile.h"
#include "skin/LayoutLocalisation.h"

namespace pages {

std::string LanguageText(const std::string& languageFile, const char* section, const char* key,
                         const std::string& fallback) {
    if (languageFile.empty()) return fallback;
    const skin::OpenedLanguageFile file = skin::OpenLanguageFile(languageFile);
    std::string text = file.source->Read(section, key, core::settings::kValueSize);
    // These texts go to ANSI windows and boxes: a Unicode file's text in the
    // code page, as far as it holds it.
    if (file.unicode) text = core::wide::ToCodePage(core::wide::FromCodePage(text, CP_UTF8), CP_ACP);
    text = skin::layout::LanguageTextForm(text);
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
