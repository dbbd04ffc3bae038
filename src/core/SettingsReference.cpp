#include "core/SettingsReference.h"


#include "core/SettingsKeys.h"
#include "util/Text.h"

namespace core::settingsref {

namespace {

namespace k = core::keys;

using C = std::vector<std::string>;

Key T(const char* name, const char* meaning, const char* fallback = "empty", const char* example = "") {
    return {name, Kind::Text, meaning, fallback, example, {}};
}
Key P(const char* name, const char* meaning, const char* fallback = "empty", const char* example = "") {
    return {name, Kind::Placeholders, meaning, fallback, example, {}};
}
Key N(const char* name, const char* meaning, const char* fallback = "0", const char* example = "1") {
    return {name, Kind::Number, meaning, fallback, example, {}};
}
Key Y(const char* name, const char* meaning, const char* fallback = "not Yes") {
    return {name, Kind::YesNo, meaning, fallback, "Yes", {}};
}
Key W(const char* name, const char* meaning, const char* example) {
    return {name, Kind::WorkingFile, meaning, "none", example, {}};
}
Key Choice(const char* name, const char* meaning, C choices, const char* fallback) {
    return {name, Kind::Choice, meaning, fallback, "", std::move(choices)};
}

Key Indexed(Key key) {
    key.indexed = true;
    return key;
}

std::vector<Section> MakeSections() {
    std::vector<Section> s;
    s.push_back({k::appinfo::kSection, "Product identity, installation folder and uninstall registration.", false, "",
                 {
                     T(k::appinfo::kProductName, "Product name: <ProductName>, the title of the pages and the name in "
                                                 "the list of installed programs.", "empty", "Corvane Notes"),
                     T(k::appinfo::kProductVersion, "Product version: <ProductVersion>, DisplayVersion.", "empty", "1.4.2"),
                     T(k::appinfo::kProductCode, "Product code: <ProductCode> and the name of the uninstall "
                                                 "registration. Required: without it the product cannot be removed.",
                       "none (required)", "{7D3C2F1A-5B84-4E0F-9A61-2C8E5D4B7A90}"),
                     P(k::appinfo::kInstallFolder, "Default installation folder: <InstallDir>.", "empty",
                       "<ProgramFilesFolder>\\Corvane Notes"),
                     Y(k::appinfo::kNeedsAdministrator, "Administrator rights are needed."),
                     Choice(k::appinfo::kInstallScope,
                            "Installation scope (section 10): \"All-Users\" installs for "
                            "everyone (the common Start menu, desktop and application data, the uninstall key under "
                            "HKEY_LOCAL_MACHINE); \"Per-User\" for the user who runs the setup, without elevation "
                            "(the user's own folders, the key under HKEY_CURRENT_USER, nothing in the Windows "
                            "folder). The customer page's anyone / only-for-me choice may change it.",
                            {"All-Users", "Per-User"},
                            "All-Users; Per-User for a run without administrator rights"),
                     T(k::appinfo::kPublisher, "Publisher: <Publisher>, shown in the list of installed programs.",
                       "empty", "Brenmark Software"),
                     Y(k::appinfo::kUninstallResources, "Keep the theme and the uninstall-time program for the "
                                                        "uninstaller's window."),
                     P(k::appinfo::kUninstallExecute, "Program the uninstaller runs first: a working file or a path."),
                     P(k::appinfo::kUninstallCmdLine, "Command line of that program."),
                     Choice(k::appinfo::kUninstallRemoveAll, "\"No\": the removal deletes the installation "
                                                             "folder whole when the run made it (remove-all); "
                                                             "otherwise it removes what the log names, one by one.", {"Yes", "No"}, "Yes"),
                     Choice(k::appinfo::kDisplayRegistration, "\"No\": no entry in the list of installed programs.",
                            {"Yes", "No"}, "Yes"),
                     Y(k::appinfo::kNoModify, "The list of installed programs offers no Modify."),
                     Y(k::appinfo::kNoRemove, "The list of installed programs offers no Remove."),
                     Y(k::appinfo::kNoRepair, "The list of installed programs offers no Repair."),
                     P(k::appinfo::kDisplayIcon, "Icon shown in the list of installed programs: a working file or "
                                                 "a path.", "none", "notes.ico"),
                     T(k::appinfo::kComments, "Comments shown in the list of installed programs."),
                     T(k::appinfo::kUrlInfoAbout, "Product information address.", "empty", "https://example.com/notes"),
                     T(k::appinfo::kUrlUpdateInfo, "Product update address."),
                     T(k::appinfo::kHelpLink, "Help address."),
                     T(k::appinfo::kHelpTelephone, "Help telephone number."),
                     Choice(k::appinfo::kInstallMode, "How an earlier installation is treated.",
                            {"New Installation", "Upgrade"}, "neither"),
                     Choice(k::appinfo::kUpgradeDetection, "\"Auto-Detect\": the earlier folder comes from the "
                                                           "uninstall registration.", {"Auto-Detect"}, "none"),
                     T(k::appinfo::kUpgradeRegistryPath, "root\\key\\value naming the earlier installation folder."),
                     Y(k::appinfo::kRemoveEarlier, "Remove the earlier installation before a new installation."),
                     T(k::appinfo::kLanguage, "Language preselected on the language page (a file languages\\<name>.lan).",
                       "none", "English"),
                     Choice(k::appinfo::kMethod, "How the language is chosen.", {"Ask User", "Auto-Detect"},
                            "no language file"),
                     N(k::appinfo::kPreview, "255: a preview run that shows the pages and installs nothing.", "0",
                       "0"),
                     T(k::appinfo::kCopyright, "Copyright notice in the file properties of setup.exe "
                                               "(LegalCopyright), which cvpack build writes.", "none",
                       "(c) 2026 Brenmark Software"),
                     {k::appinfo::kSetupIcon, Kind::ProjectFile, "Icon of setup.exe (Explorer and its file "
                                                                 "properties): an .ico file, a path in the project "
                                                                 "folder, which cvpack build writes into the program.",
                      "the engine's own icon", "art/notes.ico", {}},
                 }});
    s.push_back({k::building::kSection, "How the setup runs.", false, "",
                 {Y(k::building::kUnattended, "Unattended: the start and progress pages are not shown.")}});
    s.push_back({k::system::kSection, "Machine requirements. A machine that fails one is refused with exit code 2.",
                 false, "",
                 {
                     T(k::system::kProcessor, "Text the processor name must contain; \"All Processors\": any.",
                       "any", "All Processors"),
                     T(k::system::kMemory, "Megabytes of memory; \"Any\": no minimum.", "no minimum", "128 MB"),
                     T(k::system::kScreen, "Smallest screen, WIDTHxHEIGHT; \"Any resolution\": any.", "any",
                       "800x600"),
                     T(k::system::kColors, "Smallest colour depth by name; \"Any colors\": any.", "any",
                       "Any colors"),
                     Indexed(Y(k::system::kOsAllowed, "os0 to os6: \"Yes\" allows Windows 98, 98 SE, ME, NT 4, 2000, XP, "
                                              "and 2003 or later (os6, every current Windows). Required: with none "
                                              "allowed every machine is refused.")),
                 }});
    s.push_back({k::dialoglist::kSection, "The wizard's pages and the texts of the standard pages.", false, "",
                 {
                     N(k::dialoglist::kPageTotal, "Number of pages.", "0", "9"),
                     {k::dialoglist::kPage, Kind::Page, "W0, W1, ...: layout file of each page in order, a file of "
                                                        "theme/.", "none", "welcome.lcd", {}, true},
                     W(k::dialoglist::kLicenseFile, "License text (RTF or plain text) of the license page.",
                       "license.rtf"),
                     T(k::dialoglist::kLicenseControl, "Control of the license page that shows it.", "empty",
                       "IDC_LICENSE"),
                     W(k::dialoglist::kReadmeFile, "Readme text of the readme page.", "readme.rtf"),
                     T(k::dialoglist::kReadmeControl, "Control of the readme page that shows it.", "empty",
                       "IDC_README"),
                     Choice(k::dialoglist::kShowLaunchFile, "\"No\": the complete page does not offer to start CT10.",
                            {"Yes", "No"}, "offered"),
                     P(k::dialoglist::kLaunchFile, "File the complete page starts.", "none", "<InstallDir>\\notes.exe"),
                     P(k::dialoglist::kLaunchParameters, "Its command-line parameters."),
                     Choice(k::dialoglist::kShowLaunchReadme, "\"No\": the complete page does not offer to open CT13.",
                            {"Yes", "No"}, "offered"),
                     P(k::dialoglist::kLaunchReadme, "Readme the complete page opens.", "none",
                       "<InstallDir>\\readme.txt"),
                     T(k::dialoglist::kCustomerRegistryRoot, "Registry root of the customer data.", "none",
                       "HKEY_CURRENT_USER"),
                     T(k::dialoglist::kCustomerRegistryKey, "Registry key of the customer data.", "none",
                       "Software\\Brenmark\\Notes"),
                 }});
    s.push_back({k::splash::kSection, "Splash picture and sound before the first page.", false, "",
                 {
                     Y(k::splash::kShowPicture, "Show a splash picture."),
                     T(k::splash::kPicture, "Picture file in the project folder (BMP, GIF or JPEG).", "none",
                       "splash.gif"),
                     N(k::splash::kSeconds, "Seconds it is shown.", "0", "2"),
                     Y(k::splash::kPlaySound, "Play a splash sound."),
                     T(k::splash::kSound, "Sound file (WAV) in the project folder.", "none", "splash.wav"),
                     Choice(k::splash::kSoundOnce, "\"Once\": play it once; otherwise in a loop.", {"Once"}, "loop"),
                 }});
    s.push_back({k::background::kSection, "A full-screen window behind the wizard.", false, "",
                 {
                     Choice(k::background::kEnabled, "\"1\": show it.", {"0", "1"}, "not shown"),
                     T(k::background::kTitle, "Title drawn at the top left.", "empty", "Corvane Notes 1.4"),
                     T(k::background::kFooter, "Text drawn near the bottom right."),
                     T(k::background::kTopColor, "Gradient colour at the top: Name@0xRR,0xGG,0xBB, each part 0x00, 0x80, 0xC0 or 0xFF.", "black", "Navy@0x00,0x00,0x80"),
                     T(k::background::kBottomColor, "Gradient colour at the bottom, written as the top one.", "black", "Teal@0x00,0x80,0x80"),
                     W(k::background::kPicture, "Picture drawn on it.", "backdrop.bmp"),
                 }});
    s.push_back({k::variables::kSection, "Project variables (at most 50): placeholders with a value read at "
                                         "start-up. Values read from the registry, an INI file or the web that hold "
                                         "a double quote or a control character are refused: the default stays.",
                 true, k::kTotal,
                 {
                     T(k::variables::kName, "Variable name with its angle brackets: the text replaced by the value "
                                                "wherever it stands.", "none", "<NotesFolder>"),
                     P(k::variables::kDefault, "Default value.", "empty", "<PersonalFolder>\\Notes"),
                     T(k::variables::kDescription, "Description."),
                     Choice(k::variables::kSource, "Where the value comes from.",
                            {"Nowhere", "Registry", "INI Files", "Find File/Folder", "Retrive from Web", "Find Window"},
                            "an empty value"),
                     T(k::variables::kRegistryRoot, "Registry root (Registry).", "none", "HKEY_CURRENT_USER"),
                     T(k::variables::kRegistryKey, "Registry key (Registry).", "none", "Software\\Brenmark\\Notes"),
                     T(k::variables::kRegistryValue, "Registry value name (Registry).", "the default value", "Folder"),
                     P(k::variables::kIniFile, "INI file (INI Files).", "none", "<WindowsFolder>\\notes.ini"),
                     T(k::variables::kIniSection, "INI section (INI Files)."),
                     T(k::variables::kIniKey, "INI key (INI Files)."),
                     P(k::variables::kFindPath, "File or folder whose existence gives TRUE or FALSE (Find File/Folder)."),
                     P(k::variables::kWebAddress, "Address whose text becomes the value (Retrive from Web): an http or https address.", "none",
                       "https://example.com/latest.txt"),
                     T(k::variables::kWindowClass, "Class of a window to look for (Find Window)."),
                     T(k::variables::kWindowTitle, "Title of a window to look for (Find Window)."),
                 }});
    s.push_back({k::conditions::kSection, "Named conditions and their actions. Actions are keys of two digits, the "
                                          "item and the action (\"01\": item 0, action 1).",
                 true, k::kTotal,
                 {
                     T(k::conditions::kName, "Condition name, used by file entries, file actions and add-ons.",
                       "none", "IsUpgrade"),
                     P(k::conditions::kLeft, "Left operand.", "empty", "<ProductVersion>"),
                     Choice(k::conditions::kOperator, "Comparison.", {"==", "!=", ">", "<", ">=", "=<"},
                            "none: the condition never holds"),
                     P(k::conditions::kRight, "Right operand.", "empty", "2.0"),
                     T(k::conditions::kTrigger, "Page layout just before whose showing it is evaluated, or \"After "
                                                "Click Finish Button\".", "none", "ready.lcd"),
                     N(k::conditions::kActionCount, "Number of actions.", "0", "1"),
                 }});
    s.push_back({k::setuptype::kSection, "Setup types and their features.", true, k::kTotal,
                 {T(k::setuptype::kFeatureName, "Feature name.", "none", "Program Files"),
                  T(k::setuptype::kDescription, "Description on the custom setup page.")}});
    s.push_back({k::setupfeatures::kSection, "Features in the custom setup page's tree: keys 0, 1, ... hold the "
                                             "feature names.", true, k::kTotal,
                 {T(k::setupfeatures::kDisplayName, "Feature name (the key is the item number alone).", "none",
                    "Documentation")}});
    s.push_back({k::foldercv::kSection, "Shortcuts.", true, k::kTotal,
                 {
                     T(k::foldercv::kLocation, "Shell folder path of the shortcut, ending with its name.", "none",
                       "Start Menu\\Programs Menu\\Corvane Notes\\Notes"),
                     P(k::foldercv::kName, "Shortcut name.", "none", "Notes"),
                     P(k::foldercv::kTarget, "Target path or web address.", "none", "<InstallDir>\\notes.exe"),
                     P(k::foldercv::kDescription, "Description."),
                     Choice(k::foldercv::kWindowState, "Window state.", {"Normal", "Maximized", "Minimized"},
                            "normal"),
                     P(k::foldercv::kWorkingDir, "Working folder.", "none", "<InstallDir>"),
                     P(k::foldercv::kArguments, "Command-line arguments."),
                     W(k::foldercv::kIconFile, "Icon file carried by the setup.", "notes.ico"),
                     N(k::foldercv::kIconIndex, "Icon index.", "0", "0"),
                     T(k::foldercv::kFeature, "Feature it belongs to.", "every installation", "Program Files"),
                 }});
    s.push_back({k::iniinfo::kSection, "INI files to write into.", true, k::kTotal,
                 {T(k::iniinfo::kTreeName, "\"INI Files\\\" and the file's name.", "none", "INI Files\\notes.ini"),
                  T(k::iniinfo::kUnused, "Not used."),
                  P(k::iniinfo::kFolder, "Folder of the file.", "none", "<InstallDir>")}});
    s.push_back({k::inidata::kSection, "INI entries to write.", true, k::kTotal,
                 {T(k::inidata::kTreePath, "INI Files\\<file>\\<section>\\<key>.", "none",
                    "INI Files\\notes.ini\\General\\Folder"),
                  T(k::inidata::kUnused, "Not used."),
                  P(k::inidata::kValue, "Value.", "empty", "<InstallDir>")}});
    s.push_back({k::registrykeys::kSection, "Registry keys to create: keys 0, 1, ... hold the key paths.", true,
                 k::kTotal,
                 {T(k::registrykeys::kKeyPath, "Full key path from its root name.", "none",
                    "HKEY_LOCAL_MACHINE\\Software\\Brenmark\\Notes")}});
    s.push_back({k::registry::kSection, "Registry values to write.", true, k::kTotal,
                 {T(k::registry::kKey, "Root name and key path.", "none", "HKEY_LOCAL_MACHINE\\Software\\Brenmark\\Notes"),
                  T(k::registry::kValueName, "Value name.", "the default value", "Folder"),
                  P(k::registry::kData, "Data.", "empty", "<InstallDir>"),
                  Choice(k::registry::kType, "Type.", {"0", "1", "2", "String", "DWORD", "Binary"}, "String")}});
    s.push_back({k::extcv::kSection, "File associations.", true, k::kTotal,
                 {P(k::extcv::kProgram, "Program that opens the files.", "none", "<InstallDir>\\notes.exe"),
                  T(k::extcv::kExtension, "Extension key: a dot and the extension.", "none", ".cvn"),
                  T(k::extcv::kFileType, "Class key the extension points to.", "none", "CorvaneNotes.Note"),
                  T(k::extcv::kDescription, "File type description."),
                  T(k::extcv::kUnused, "Not used."),
                  P(k::extcv::kArguments, "Arguments after the program on the open command. One pair of quotes is "
                                          "removed when read: write \"\"%1\"\" to get \"%1\".", "empty",
                    "\"\"%1\"\""),
                  W(k::extcv::kIconFile, "Icon file carried by the setup.", "notes.ico")}});
    s.push_back({k::envircv::kSection, "Environment variables.", true, k::kTotal,
                 {T(k::envircv::kName, "Variable name.", "none", "NOTES_HOME"),
                  T(k::envircv::kFeature, "Feature it belongs to.", "every installation"),
                  P(k::envircv::kValue, "Value.", "empty", "<InstallDir>"),
                  Choice(k::envircv::kRemoveNow, "\"Remove\": delete the variable instead of setting it.",
                         {"Remove"}, "set it"),
                  Choice(k::envircv::kAppend, "\"Append\": add the value to the current one (a list item).",
                         {"Append"}, "replace it"),
                  Choice(k::envircv::kRemoveAtUninstall, "\"Remove\": the removal deletes the variable.",
                         {"Remove"}, "kept"),
                  Choice(k::envircv::kScope, "Whose variable.", {"User", "System"}, "neither: the entry is skipped")}});
    s.push_back({k::ntservice::kSection, "NT services to install.", true, k::kTotal,
                 {T(k::ntservice::kName, "Service name.", "none", "CorvaneSync"),
                  T(k::ntservice::kDisplayName, "Display name.", "none", "Corvane Notes Sync"),
                  Choice(k::ntservice::kType, "Service type.",
                         {"SERVICE_WIN32_OWN_PROCESS", "SERVICE_WIN32_SHARE_PROCESS", "SERVICE_INTERACTIVE_PROCESS"},
                         "none: the service cannot be made"),
                  Choice(k::ntservice::kStartType, "Start type.",
                         {"SERVICE_BOOT_START", "SERVICE_SYSTEM_START", "SERVICE_AUTO_START", "SERVICE_DEMAND_START",
                          "SERVICE_DISABLED"},
                         "SERVICE_BOOT_START"),
                  Choice(k::ntservice::kErrorControl, "What a failed start means to the system.",
                         {"SERVICE_ERROR_IGNORE", "SERVICE_ERROR_NORMAL", "SERVICE_ERROR_CRITICAL"},
                         "SERVICE_ERROR_IGNORE"),
                  P(k::ntservice::kCommandLine, "The service program's command line.", "none",
                    "\"<InstallDir>\\sync.exe\" /service"),
                  P(k::ntservice::kUnusedG, "Not used."),
                  T(k::ntservice::kUnusedH, "Not used.")}});
    s.push_back({k::liveupdate::kSection, "Live update registration.", false, "",
                 {Y(k::liveupdate::kEnabled, "Install the live-update program."),
                  T(k::liveupdate::kMode, "Mode, registered as LVmode."),
                  T(k::liveupdate::kAddress, "Address, registered as LVurl."),
                  T(k::liveupdate::kSilent, "Silent flag, registered as LVsilent."),
                  P(k::liveupdate::kTargetFolder, "Folder of the live-update files.", "<InstallDir>")}});
    s.push_back({k::fileaction::kSection, "Programs, documents and library functions run at a page.", true, k::kTotal,
                 {P(k::fileaction::kFile, "A program (.exe), a library (.dll) or an http(s) address.", "none",
                    "<InstallDir>\\notes.exe"),
                  P(k::fileaction::kCommand, "The program's arguments or the library function's name."),
                  T(k::fileaction::kWhen, "Page layout just before whose showing it runs, or \"After Click Finish Button\".",
                    "none", "ready.lcd"),
                  T(k::fileaction::kUnused, "Not used."),
                  Y(k::fileaction::kRunOnce, "Run at most once per setup run."),
                  Y(k::fileaction::kWait, "Wait for the program to end."),
                  N(k::fileaction::kSystemMask, "Systems it runs on, the bits of a data.inf OS mask: 1 every system, "
                                                "or the sum of 2 (98), 4 (98 SE), 8 (ME), 16 (NT 4), 32 (2000), "
                                                "64 (XP), 128 (2003 and later); 0 or 255: every system.", "0",
                    "1"),
                  T(k::fileaction::kCondition, "Condition that must hold.", "none", "IsUpgrade")}});
    s.push_back({k::mergemodules::kSection, "Add-on programs run after the installation.", true, k::kTotal,
                 {P(k::mergemodules::kProgram, "Program; <ResourceDir> is the folder of the setup's support files.",
                    "none", "<SystemFolder>\\reg.exe"),
                  P(k::mergemodules::kCommandLine, "Its command line."),
                  N(k::mergemodules::kSystemMask, "Systems it runs on, as for file actions.", "0", "1"),
                  T(k::mergemodules::kFeature, "Feature it belongs to.", "every installation"),
                  T(k::mergemodules::kCondition, "Condition that must hold; \"No Condition\" or a name no item has: none.",
                    "none: it runs")}});
    s.push_back({k::billboardscv::kSection, "Billboard slide show during the installation.", true, k::kTotal,
                 {W(k::billboardscv::kPicture, "Picture file carried by the setup.", "billboard1.bmp"),
                  N(k::billboardscv::kSeconds, "Seconds it is shown.", "0", "4"),
                  N(k::billboardscv::kLeft, "Left edge on the screen in pixels.", "1", "100"),
                  N(k::billboardscv::kTop, "Top edge on the screen in pixels.", "1", "100")}});
    return s;
}

const char* KindText(Kind kind) {
    switch (kind) {
        case Kind::Text: return "text";
        case Kind::Placeholders: return "text, placeholders";
        case Kind::Number: return "number";
        case Kind::YesNo: return "\"Yes\" or anything else";
        case Kind::Choice: return "one of";
        case Kind::WorkingFile: return "file of working/";
        case Kind::Page: return "file of theme/";
        case Kind::ProjectFile: return "file of the project";
    }
    return "";
}

// A table cell: bars would end the cell.
std::string Cell(const std::string& text) {
    std::string out;
    for (char c : text) out += c == '|' ? std::string("\\|") : std::string(1, c);
    return out;
}

// A table cell of prose: a placeholder would read as an HTML tag, so it is
// set as code.
std::string ProseCell(const std::string& text) {
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        const size_t close = text[i] == '<' ? text.find('>', i) : std::string::npos;
        if (close != std::string::npos && text.find_first_of(" <", i + 1) > close) {
            out += "`" + text.substr(i, close - i + 1) + "`";
            i = close;
        } else {
            out += text[i] == '|' ? std::string("\\|") : std::string(1, text[i]);
        }
    }
    return out;
}

std::string ValuesCell(const Key& key) {
    std::string text = KindText(key.kind);
    if (key.kind == Kind::Choice) {
        for (size_t i = 0; i < key.choices.size(); ++i) text += (i ? ", \"" : " \"") + key.choices[i] + "\"";
    }
    return Cell(text);
}

}  // namespace

const std::vector<Section>& Sections() {
    static const std::vector<Section> sections = MakeSections();
    return sections;
}

const Section* FindSection(const std::string& name) {
    for (const Section& section : Sections())
        if (util::text::EqualsIgnoringAsciiCase(section.name, name)) return &section;
    return nullptr;
}

std::string ReferenceMarkdown() {
    std::string md;
    for (const Section& section : Sections()) {
        md += "### [" + std::string(section.name) + "]\n\n" + ProseCell(section.meaning) + "\n";
        if (section.list)
            md += "A list: `" + std::string(section.countKey) +
                  "` gives the number of items; each field below is followed by the item number (0, 1, ...).\n";
        md += "\n| Key | Value | Meaning | When absent | Example |\n|---|---|---|---|---|\n";
        for (const Key& key : section.keys) {
            const std::string name =
                key.name.empty() ? "0, 1, ..." : key.name + (section.list || key.indexed ? "<i>" : "");
            md += "| `" + Cell(name) + "` | " + ValuesCell(key) + " | " + ProseCell(key.meaning) + " | " +
                  ProseCell(key.fallback) + " | " + (*key.example ? "`" + Cell(key.example) + "`" : std::string()) +
                  " |\n";
        }
        md += "\n";
    }
    return md;
}

}  // namespace core::settingsref
