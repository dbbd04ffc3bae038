// The language files the language page lists, named as the system holds
// them (UTF-16), so a name the ANSI code page lacks ("Русский" on a Western
// system) lists and applies like any other.
#pragma once

#include <string>
#include <vector>

namespace pages {

// The names (without ".lan") of source folder + "languages\*.lan", in the
// order the folder gives them.
std::vector<std::wstring> ListLanguageNames(const std::string& sourceFolder);

// The name under which the file of `name` is applied (LanguageFilePath):
// the name itself in the ANSI code page when that holds it, else the file's
// short name (which is ASCII) without its extension; "" when neither exists.
std::string LanguageNameToApply(const std::string& sourceFolder, const std::wstring& name);

}  // namespace pages
