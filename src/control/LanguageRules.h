// How the setup picks the language of its pages: the project's method, the
// names of the system's interface languages, and where a language's file lies.
#pragma once

#include <string>

namespace control {

enum class LanguageMethod { None, AskUser, AutoDetect };

// APPINFO METHOD as written: exactly "Ask User" or "Auto-Detect" (any other
// spelling, lower case included, picks no language).
LanguageMethod ParseLanguageMethod(const std::string& text);

// The language file's name for a system interface language identifier
// (primary and sublanguage compared together: 0x0416 is "Portuguese",
// 0x0816 is not listed); "" for an identifier outside the table.
std::string LanguageNameForSystem(unsigned languageId);

// source folder + "languages\" + name + ".lan".
std::string LanguageFilePath(const std::string& sourceFolder, const std::string& name);

}  // namespace control
