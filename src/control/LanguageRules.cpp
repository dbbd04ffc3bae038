#include "control/LanguageRules.h"

namespace control {

namespace {

struct SystemLanguage {
    unsigned id;
    const char* name;
};

const SystemLanguage kSystemLanguages[] = {
    {0x0409, "English"}, {0x0416, "Portuguese"}, {0x041A, "Croatian"}, {0x0406, "Danish"},
    {0x0813, "Dutch"},   {0x0407, "German"},     {0x0410, "Italian"},  {0x0415, "Polish"},
    {0x0C1A, "Serbian"}, {0x040A, "Spanish"},    {0x041D, "Swedish"},  {0x041F, "Turkish"},
};

}  // namespace

LanguageMethod ParseLanguageMethod(const std::string& text) {
    if (text == "Ask User") return LanguageMethod::AskUser;
    if (text == "Auto-Detect") return LanguageMethod::AutoDetect;
    return LanguageMethod::None;
}

std::string LanguageNameForSystem(unsigned languageId) {
    for (const SystemLanguage& language : kSystemLanguages)
        if (language.id == languageId) return language.name;
    return "";
}

std::string LanguageFilePath(const std::string& sourceFolder, const std::string& name) {
    return sourceFolder + "languages\\" + name + ".lan";
}

}  // namespace control
