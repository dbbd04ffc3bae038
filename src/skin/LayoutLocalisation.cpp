#include "skin/LayoutLocalisation.h"

#include <algorithm>

#include "util/Text.h"

namespace skin::layout {

namespace {

struct CaptionRow {
    const char* layout;
    const char* control;
    const char* section;
    const char* key;
};

// Most pages share the Cancel, frame, subtitle, title and Back rows.
#define COMMON_ROWS(file, section)                                                     \
    {file, "IDCANCEL", section, "0"}, {file, "IDC_CVFRAME", section, "2"},             \
        {file, "IDC_SUBTITLE", section, "3"}, {file, "IDC_TITLE", section, "4"},       \
        {file, "IDC_BACK", section, "5"}

const CaptionRow kRows[] = {
    {"welcome.lcd", "IDCANCEL", "InstallWelcome", "0"},
    {"welcome.lcd", "IDC_BACK", "InstallWelcome", "1"},
    {"welcome.lcd", "IDC_NEXT", "InstallWelcome", "2"},
    {"welcome.lcd", "IDC_STATIC1", "InstallWelcome", "3"},
    {"welcome.lcd", "IDC_STATIC2", "InstallWelcome", "4"},
    {"welcome.lcd", "IDC_STATIC3", "InstallWelcome", "5"},

    COMMON_ROWS("license.lcd", "LicenseAgreement"),
    {"license.lcd", "IDC_NEXT", "LicenseAgreement", "6"},
    {"license.lcd", "IDC_ACCEPTLICENSE", "Value", "1"},
    {"license.lcd", "IDC_NOTACCEPTLICENSE", "Value", "0"},

    COMMON_ROWS("readme.lcd", "ReadmeInformation"),
    {"readme.lcd", "IDC_NEXT", "ReadmeInformation", "6"},

    COMMON_ROWS("customer.lcd", "CustomerInformation"),
    {"customer.lcd", "IDC_NEXT", "CustomerInformation", "6"},
    {"customer.lcd", "IDC_STATIC1", "CustomerInformation", "7"},
    {"customer.lcd", "IDC_STATIC2", "CustomerInformation", "8"},
    {"customer.lcd", "IDC_STATIC3", "CustomerInformation", "9"},
    {"customer.lcd", "IDC_STATIC4", "CustomerInformation", "10"},
    {"customer.lcd", "IDC_ANYONE", "Value", "8"},
    {"customer.lcd", "IDC_ONLYFORME", "Value", "9"},

    COMMON_ROWS("destination.lcd", "DestinationFolder"),
    {"destination.lcd", "IDC_NEXT", "DestinationFolder", "6"},
    {"destination.lcd", "IDC_BROWSE", "DestinationFolder", "7"},
    {"destination.lcd", "IDC_STATIC1", "DestinationFolder", "8"},

    COMMON_ROWS("setuptype.lcd", "SetupType"),
    {"setuptype.lcd", "IDC_STATIC1", "SetupType", "6"},
    {"setuptype.lcd", "IDC_NEXT", "SetupType", "7"},
    {"setuptype.lcd", "IDC_STATIC2", "SetupType", "8"},
    {"setuptype.lcd", "IDC_STATIC4", "SetupType", "9"},
    {"setuptype.lcd", "IDC_STATIC3", "SetupType", "10"},
    {"setuptype.lcd", "IDC_TYPICAL", "Value", "2"},
    {"setuptype.lcd", "IDC_MINIMAL", "Value", "3"},
    {"setuptype.lcd", "IDC_CUSTOM", "Value", "4"},

    {"customsetup.lcd", "IDCANCEL", "CustomSetup", "2"},
    {"customsetup.lcd", "IDC_CVFRAME", "CustomSetup", "4"},
    {"customsetup.lcd", "IDC_SUBTITLE", "CustomSetup", "5"},
    {"customsetup.lcd", "IDC_TITLE", "CustomSetup", "6"},
    {"customsetup.lcd", "IDC_BACK", "CustomSetup", "7"},
    {"customsetup.lcd", "IDC_STATIC1", "CustomSetup", "8"},
    {"customsetup.lcd", "IDC_NEXT", "CustomSetup", "9"},
    {"customsetup.lcd", "IDC_BROWSE", "CustomSetup", "11"},
    {"customsetup.lcd", "IDC_GROUPBOX1", "CustomSetup", "13"},

    {"ready.lcd", "IDCANCEL", "ReadyToInstall", "0"},
    {"ready.lcd", "IDC_CVFRAME", "ReadyToInstall", "2"},
    {"ready.lcd", "IDC_SUBTITLE", "ReadyToInstall", "3"},
    {"ready.lcd", "IDC_TITLE", "ReadyToInstall", "4"},
    {"ready.lcd", "IDC_NEXT", "ReadyToInstall", "5"},
    {"ready.lcd", "IDC_BACK", "ReadyToInstall", "6"},
    {"ready.lcd", "IDC_STATIC1", "ReadyToInstall", "9"},
    {"ready.lcd", "IDC_STATIC2", "ReadyToInstall", "16"},

    COMMON_ROWS("progress.lcd", "SetupProgress"),
    {"progress.lcd", "IDC_STATIC1", "SetupProgress", "6"},
    {"progress.lcd", "IDC_NEXT", "SetupProgress", "7"},
    {"progress.lcd", "IDC_STATIC2", "SetupProgress", "11"},

    {"complete.lcd", "IDCANCEL", "SetupCompleteSuccess", "0"},
    {"complete.lcd", "IDC_NEXT", "SetupCompleteSuccess", "1"},
    // The complete page's button may also be named for what it does.
    {"complete.lcd", "IDC_FINISH", "SetupCompleteSuccess", "1"},
    {"complete.lcd", "IDC_BACK", "SetupCompleteSuccess", "2"},
    {"complete.lcd", "IDC_INSTALLSTATUS", "SetupCompleteSuccess", "4"},
    {"complete.lcd", "IDC_LAUNCHREADME", "SetupCompleteSuccess", "6"},
    {"complete.lcd", "IDC_LAUNCHFILE", "SetupCompleteSuccess", "7"},

    {"setuperror.lcd", "IDYES", "SetupError", "0"},
    {"setuperror.lcd", "IDNO", "SetupError", "1"},
    {"setuperror.lcd", "IDCANCEL", "SetupError", "2"},
    {"setuperror.lcd", "IDOK", "SetupError", "3"},
    {"setuperror.lcd", "IDABORT", "SetupError", "4"},
    {"setuperror.lcd", "IDIGNORE", "SetupError", "5"},
    {"setuperror.lcd", "IDRETRY", "SetupError", "6"},

    {"cancelsetup.lcd", "IDC_STATIC1", "CancelSetup", "0"},
    {"cancelsetup.lcd", "IDNO", "CancelSetup", "1"},
    {"cancelsetup.lcd", "IDYES", "CancelSetup", "2"},

    {"uninstall.lcd", "IDC_STATIC1", "SetupProgress", "12"},
    {"uninstall.lcd", "IDYES", "SetupProgress", "0"},

    {"start.lcd", "IDC_STATIC1", "SETUP", "0"},
    {"start.lcd", "IDCANCEL", "SETUP", "1"},
};

#undef COMMON_ROWS

bool HasKey(const IniSource& ini, const std::string& section, const std::string& key) {
    const std::vector<std::string> names = ini.KeyNames(section);
    return std::any_of(names.begin(), names.end(), [&](const std::string& name) {
        return util::text::EqualsIgnoringAsciiCase(name, key);
    });
}

// A language text is read into a 255-byte buffer, as every short setting.
constexpr size_t kLanguageTextBuffer = 255;

}  // namespace

bool IsLocalisedLayout(const std::string& layoutFile) {
    return std::any_of(std::begin(kRows), std::end(kRows),
                       [&](const CaptionRow& row) { return layoutFile == row.layout; });
}

std::optional<LanguageKey> LanguageKeyOf(const std::string& layoutFile,
                                         const std::string& controlName) {
    for (const CaptionRow& row : kRows)
        if (layoutFile == row.layout && controlName == row.control) return LanguageKey{row.section, row.key};
    return std::nullopt;
}

std::string LanguageTextForm(const std::string& text) {
    std::string s = text;
    for (char& c : s) {
        if (c == '[') c = '<';
        else if (c == ']') c = '>';
    }
    const size_t brace = s.find('}');
    if (brace != std::string::npos) s.erase(0, brace + 1);
    return s;
}

std::string LocalisedCaption(const std::string& layoutFile, const std::string& controlName,
                             const IniSource& language) {
    const std::optional<LanguageKey> key = LanguageKeyOf(layoutFile, controlName);
    if (!key || !HasKey(language, key->section, key->key)) return "";
    return "Caption|" + LanguageTextForm(language.Read(key->section, key->key, kLanguageTextBuffer)) +
           "|0";
}

std::map<std::string, std::string> LocalisedEntries(const LayoutFile& layout,
                                                    const std::string& layoutFile,
                                                    const IniSource& language) {
    std::map<std::string, std::string> entries;
    if (!IsLocalisedLayout(layoutFile)) return entries;
    const int lines = std::min(layout.ControlCount(), kMaxLocalisedLines);
    for (int i = 0; i < lines; ++i) {
        const std::string caption = LocalisedCaption(layoutFile, layout.FirstPropertyValue(i), language);
        if (!caption.empty()) entries[PropertyEntryKey(i, 1)] = caption;
    }
    return entries;
}

}  // namespace skin::layout
