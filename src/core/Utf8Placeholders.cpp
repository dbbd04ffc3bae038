#include "core/Utf8Placeholders.h"

#include <windows.h>

#include "core/WideText.h"

namespace core {

namespace {

void ToUtf8(std::string& text) { text = wide::ToCodePage(wide::FromCodePage(text, CP_ACP), CP_UTF8); }

}  // namespace

std::string ExpandSetupTextUtf8(const std::string& utf8, const PlaceholderValues& ansiValues) {
    if (utf8.find('<') == std::string::npos && utf8.find('>') == std::string::npos) return utf8;
    PlaceholderValues v = ansiValues;
    for (std::string* field : {&v.programFilesFolder, &v.systemFolder, &v.windowsFolder, &v.commonFilesFolder,
                               &v.windowsVolume, &v.favoritesFolder, &v.personalFolder, &v.picturesFolder,
                               &v.tempFolder, &v.sendToFolder, &v.fontsFolder, &v.appDataFolder,
                               &v.productName, &v.installDir, &v.productCode, &v.userName, &v.companyName,
                               &v.publisher, &v.productVersion})
        ToUtf8(*field);
    for (PlaceholderVariable& variable : v.variables) {
        ToUtf8(variable.name);
        ToUtf8(variable.value);
    }
    return ExpandSetupText(utf8, v);
}

}  // namespace core
