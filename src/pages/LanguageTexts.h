// Texts the wizard takes from the applied language file, with built-in
// English texts for when no language file was applied or a text is empty.
// They are shown in ANSI windows and boxes: a Unicode file's texts come in
// the system's code page (a character it lacks becomes "?").
#pragma once

#include <string>

#include "core/Messages.h"

namespace pages {

// The message's text from the language file in its page form, or its
// built-in English text. Placeholders are not expanded here.
std::string LanguageText(const std::string& languageFile, core::MessageId message);

// The text of section/key of the language file in its page form (see
// LanguageTextForm), or `fallback` when the file is "" or the text is empty.
// Placeholders are not expanded here.
std::string LanguageText(const std::string& languageFile, const char* section, const char* key,
                         const std::string& fallback);

// The name of a setup type (0 typical, 1 minimal, 2 custom) as the setup
// type page shows it: the language file's caption of that page's choice,
// else the built-in English name; without its access-key "&". "" for any
// other value.
std::string SetupTypeName(const std::string& languageFile, int setupType);

}  // namespace pages
