#include "PreviewHost.h"

#include <cstdio>

#include "core/Placeholders.h"
#include "core/Utf8Placeholders.h"
#include "skin/SkinnedPage.h"

namespace {

// The values the preview shows for placeholders.
core::PlaceholderValues SampleValues() {
    core::PlaceholderValues v;
    v.programFilesFolder = "C:\\Program Files";
    v.systemFolder = "C:\\Windows\\system32\\";
    v.windowsFolder = "C:\\Windows";
    v.commonFilesFolder = "C:\\Program Files\\Common Files";
    v.windowsVolume = "C:";
    v.favoritesFolder = "C:\\Users\\Sample User\\Favorites";
    v.personalFolder = "C:\\Users\\Sample User\\Documents";
    v.picturesFolder = "C:\\Users\\Sample User\\Pictures";
    v.tempFolder = "C:\\Temp\\";
    v.sendToFolder = "C:\\Users\\Sample User\\SendTo";
    v.fontsFolder = "C:\\Windows\\Fonts";
    v.appDataFolder = "C:\\Users\\Sample User\\AppData\\Roaming";
    v.localAppDataFolder = "C:\\Users\\Sample User\\AppData\\Local";
    v.userProgramsFolder = "C:\\Users\\Sample User\\AppData\\Local\\Programs";
    v.productName = "Sample Product";
    v.installDir = "C:\\Program Files\\Sample Product\\";
    v.productCode = "{00000000-0000-0000-0000-000000000000}";
    v.userName = "Sample User";
    v.companyName = "Sample Company";
    v.publisher = "Sample Publisher";
    v.productVersion = "1.0";
    return v;
}

}  // namespace

std::string PreviewHost::ExpandPageText(const std::string& text) {
    static const core::PlaceholderValues values = SampleValues();
    return core::ExpandSetupText(text, values);
}

std::string PreviewHost::ExpandUnicodePageText(const std::string& utf8) {
    static const core::PlaceholderValues values = SampleValues();
    return core::ExpandSetupTextUtf8(utf8, values);
}

void PreviewHost::OnPageCommand(skin::SkinnedPage&, int controlId, int, int clickCode,
                                const std::string& controlName) {
    std::printf("command %d %s click code %d\n", controlId, controlName.c_str(), clickCode);
    std::fflush(stdout);
}

void PreviewHost::OnCancelRequest(skin::SkinnedPage& page) {
    if (!interactive_) return;
    page.Close();
    PostQuitMessage(0);
}

void PreviewHost::OnPageTimer(skin::SkinnedPage& page, UINT_PTR timerId) {
    KillTimer(page.Window(), timerId);
}
