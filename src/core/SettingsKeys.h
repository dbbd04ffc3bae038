// Every section and key the setup reads from the project settings file
// (setup.inf), named once. One nested namespace per section: kSection is the
// section name, the other constants are its keys. Keys of an indexed list are
// field prefixes: the item index is appended ("A" and 3 give "A3", see
// core::settings::ListKey), and the item count is kTotal unless a section says
// otherwise. Reads use 255-byte buffers unless a comment says "100 bytes"
// (core::settings::kShortValueSize) or gives another size. Values are compared
// exactly: "Yes" means exactly "Yes".
// Language files, the message file and layout files have keys of their own
// and are not listed here.
#pragma once

namespace core {
namespace keys {

// Item count of every indexed list section.
constexpr char kTotal[] = "TOTAL";

// Product identity, installation folder and uninstall registration.
namespace appinfo {
constexpr char kSection[] = "APPINFO";
// Identity and installation folder.
constexpr char kProductName[] = "a1";         // product name (<ProductName>), also the display name
constexpr char kProductVersion[] = "a2";      // product version (<ProductVersion>)
constexpr char kProductCode[] = "a3";         // product code (<ProductCode>); uninstall key name
constexpr char kInstallFolder[] = "a4";       // default installation folder, placeholders allowed
constexpr char kNeedsAdministrator[] = "a7";  // 100 bytes; "Yes": administrator rights needed
constexpr char kInstallScope[] = "a8";        // "Per-User": install for the current user only
constexpr char kPublisher[] = "a19";          // publisher (<Publisher>), also in the uninstall list
// Uninstall registration.
constexpr char kUninstallResources[] = "a10";   // "Yes": keep the theme and uninstall-time program
constexpr char kUninstallExecute[] = "a11";     // uninstall-time program: project file or path
constexpr char kUninstallCmdLine[] = "a12";     // command line of the uninstall-time program
constexpr char kUninstallRemoveAll[] = "a13";   // remove-all choice; "No" logs REMOVEALL=Yes
constexpr char kDisplayRegistration[] = "a14";  // "No": no entry in the uninstall list
constexpr char kNoModify[] = "a15";             // "Yes": the uninstall list offers no Modify
constexpr char kNoRemove[] = "a16";             // "Yes": the uninstall list offers no Remove
constexpr char kNoRepair[] = "a17";             // "Yes": the uninstall list offers no Repair
constexpr char kDisplayIcon[] = "a18";          // icon file shown in the uninstall list
constexpr char kComments[] = "a20";             // comments shown in the uninstall list
constexpr char kUrlInfoAbout[] = "a21";         // product information address
constexpr char kUrlUpdateInfo[] = "a22";        // product update address
constexpr char kHelpLink[] = "a24";             // help address
constexpr char kHelpTelephone[] = "a25";        // help telephone number
// Earlier installation; each read with 100 bytes.
constexpr char kInstallMode[] = "a26";          // "New Installation", "Upgrade"; else: neither
constexpr char kUpgradeDetection[] = "a27";     // "Auto-Detect": folder from the uninstall key
constexpr char kUpgradeRegistryPath[] = "a28";  // root\key\value naming the earlier folder
constexpr char kRemoveEarlier[] = "a29";        // "Yes": uninstall it before a new installation
// Language and run mode.
constexpr char kLanguage[] = "Language";  // language name, preselected on the language page
constexpr char kMethod[] = "METHOD";      // "Ask User", "Auto-Detect", anything else: no language
constexpr char kPreview[] = "PREVIEW";    // number; 255: a preview run that installs nothing
// Written by cvpack into setup.exe's file properties; the setup does not read them.
constexpr char kCopyright[] = "Copyright";  // LegalCopyright of setup.exe
constexpr char kSetupIcon[] = "SetupIcon";  // .ico file in the project folder: setup.exe's icon
}  // namespace appinfo

// How the setup was built.
namespace building {
constexpr char kSection[] = "BUILDING";
constexpr char kUnattended[] = "2";  // "Yes": unattended run, start and progress pages hidden
}  // namespace building

// Page list and the options of the standard pages.
namespace dialoglist {
constexpr char kSection[] = "DIALOGLIST";
constexpr char kPageTotal[] = "TOTAL1";           // number of pages (this list's count key)
constexpr char kPage[] = "W";                     // list field: layout file of page i, in order
constexpr char kLicenseFile[] = "CT0";            // license text file
constexpr char kLicenseControl[] = "CT1";         // name of the control that shows the license
constexpr char kReadmeFile[] = "CT2";             // readme text file of the readme page
constexpr char kReadmeControl[] = "CT3";          // name of the control that shows the readme
constexpr char kShowLaunchFile[] = "CT9";         // not "No": complete page offers kLaunchFile
constexpr char kLaunchFile[] = "CT10";            // file the complete page launches (placeholders)
constexpr char kLaunchParameters[] = "CT11";      // its command-line parameters (placeholders)
constexpr char kShowLaunchReadme[] = "CT12";      // not "No": complete page offers kLaunchReadme
constexpr char kLaunchReadme[] = "CT13";          // readme the complete page opens (placeholders)
constexpr char kCustomerRegistryRoot[] = "CT17";  // registry root name for the customer data
constexpr char kCustomerRegistryKey[] = "CT18";   // registry key path for the customer data
}  // namespace dialoglist

// Machine requirements; every key read with 100 bytes.
namespace system {
constexpr char kSection[] = "SYSTEM";
constexpr char kProcessor[] = "1";   // text the processor name must contain; "All Processors": any
constexpr char kMemory[] = "2";      // megabytes of memory, e.g. "128 MB"; "Any": no minimum
constexpr char kScreen[] = "3";      // "WIDTHxHEIGHT"; "checkSCREEN" or "Any resolution": any
constexpr char kColors[] = "4";      // colour depth name; "Any colors": any
constexpr char kOsAllowed[] = "os";  // list field "os0" to "os6": "Yes" allows that system
}  // namespace system

// Splash picture and sound.
namespace splash {
constexpr char kSection[] = "SPLASH";
constexpr char kShowPicture[] = "a1";  // "Yes": show a splash picture
constexpr char kPicture[] = "a2";      // picture file; only its extension is used
constexpr char kSeconds[] = "a3";      // display time in seconds
constexpr char kPlaySound[] = "a5";    // "Yes": play a splash sound
constexpr char kSound[] = "a6";        // sound file; only its extension is used
constexpr char kSoundOnce[] = "a7";    // "Once": play the sound once; otherwise in a loop
}  // namespace splash

// Background window behind the wizard.
namespace background {
constexpr char kSection[] = "BACKGROUND";
constexpr char kEnabled[] = "0";      // "1": show the background window
constexpr char kTitle[] = "1";        // title drawn at the top left
constexpr char kFooter[] = "2";       // second text drawn near the bottom right
constexpr char kTopColor[] = "3";     // gradient colour at the top
constexpr char kBottomColor[] = "4";  // gradient colour at the bottom
constexpr char kPicture[] = "5";      // picture file; only its file name is used
}  // namespace background

// Variables (list, at most 50 items).
namespace variables {
constexpr char kSection[] = "VARIABLES";
constexpr char kName[] = "A";           // variable name
constexpr char kDefault[] = "B";        // default value
constexpr char kDescription[] = "C";    // description
constexpr char kSource[] = "D";         // value source: "Nowhere", "Registry", "INI Files", ...
constexpr char kRegistryRoot[] = "E";   // registry root name
constexpr char kRegistryKey[] = "F";    // registry key path
constexpr char kRegistryValue[] = "G";  // registry value name
constexpr char kIniFile[] = "H";        // INI file path, placeholders allowed
constexpr char kIniSection[] = "I";     // INI section
constexpr char kIniKey[] = "J";         // INI key
constexpr char kFindPath[] = "L";       // file or folder whose existence gives "TRUE" or "FALSE"
constexpr char kWebAddress[] = "O";     // web address whose text becomes the value
constexpr char kWindowClass[] = "P";    // class name of a window to look for
constexpr char kWindowTitle[] = "Q";    // title of a window to look for
}  // namespace variables

// Named conditions and their actions (list, TOTAL read with 100 bytes).
namespace conditions {
constexpr char kSection[] = "CONDITIONS";
constexpr char kName[] = "A";             // condition name used by file actions and merge modules
constexpr char kLeft[] = "B";             // left operand, placeholders allowed
constexpr char kOperator[] = "C";         // "==", "!=", ">", "<", ">=" or "=<"
constexpr char kRight[] = "D";            // right operand, placeholders allowed
constexpr char kTrigger[] = "E";          // triggering page layout, or "After Click Finish Button"
constexpr char kActionCount[] = "F";      // number of actions
constexpr char kActionFormat[] = "%i%i";  // action j of item i: the two indexes ("21")
}  // namespace conditions

// Features of the setup types (list).
namespace setuptype {
constexpr char kSection[] = "SETUPTYPE";
constexpr char kFeatureName[] = "FeatureName";  // feature name
constexpr char kDescription[] = "Description";  // description shown on the custom setup page
}  // namespace setuptype

// Features shown in the custom setup page's tree (list).
namespace setupfeatures {
constexpr char kSection[] = "SETUPFEATURES";
constexpr char kDisplayName[] = "";  // no prefix ("0", "1", ...): the feature's text
}  // namespace setupfeatures

// Shortcuts (list, TOTAL read with 100 bytes).
namespace foldercv {
constexpr char kSection[] = "FOLDERCV";
constexpr char kLocation[] = "A";     // shell-folder path of the shortcut, ending with its name
constexpr char kName[] = "B";         // shortcut name, placeholders allowed
constexpr char kTarget[] = "C";       // target path or web address, placeholders allowed
constexpr char kDescription[] = "D";  // description, placeholders allowed
constexpr char kWindowState[] = "E";  // "Maximized", "Minimized", anything else normal
constexpr char kWorkingDir[] = "F";   // working folder, placeholders allowed
constexpr char kArguments[] = "G";    // command-line arguments, placeholders allowed
constexpr char kIconFile[] = "H";     // icon file carried by the setup; only its name is used
constexpr char kIconIndex[] = "I";    // icon index
constexpr char kFeature[] = "J";      // feature the shortcut belongs to, or empty
}  // namespace foldercv

// INI files to write into (list, TOTAL read with 100 bytes).
namespace iniinfo {
constexpr char kSection[] = "INIINFO";
constexpr char kTreeName[] = "A";  // "INI Files\" and the INI file's name
constexpr char kUnused[] = "B";    // read, not used
constexpr char kFolder[] = "C";    // folder of the INI file, placeholders allowed
}  // namespace iniinfo

// INI entries to write (list).
namespace inidata {
constexpr char kSection[] = "INIDATA";
constexpr char kTreePath[] = "A";  // tree path "INI Files\<file>\<section>\<key>"
constexpr char kUnused[] = "B";    // read, not used
constexpr char kValue[] = "C";     // value written as it stands
}  // namespace inidata

// Registry keys to create (list, TOTAL read with 20 bytes).
namespace registrykeys {
constexpr char kSection[] = "REGISTRYKEYS";
constexpr char kKeyPath[] = "";  // list field with no prefix: full key path from its root name
}  // namespace registrykeys

// Registry values to write (list, TOTAL read with 20 bytes).
namespace registry {
constexpr char kSection[] = "REGISTRY";
constexpr char kKey[] = "A";        // root name and sub-key path
constexpr char kValueName[] = "B";  // value name; empty for the default value
constexpr char kData[] = "C";       // data, placeholders allowed
constexpr char kType[] = "D";       // "0"/"String", "1"/"DWORD" or "2"/"Binary"
}  // namespace registry

// File associations (list, TOTAL read with 100 bytes).
namespace extcv {
constexpr char kSection[] = "EXTCV";
constexpr char kProgram[] = "B";      // program that opens the files, placeholders allowed
constexpr char kExtension[] = "C";    // extension key, a dot and the extension
constexpr char kFileType[] = "D";     // class key the extension points to
constexpr char kDescription[] = "E";  // file type description
constexpr char kUnused[] = "F";       // read, not used
constexpr char kArguments[] = "G";    // arguments after the program on the open command
constexpr char kIconFile[] = "H";     // icon file; only its name is used
}  // namespace extcv

// Environment variables (list; TOTAL and every field but kValue read with 100 bytes).
namespace envircv {
constexpr char kSection[] = "ENVIRCV";
constexpr char kName[] = "A";               // variable name
constexpr char kFeature[] = "B";            // feature the variable belongs to, or empty
constexpr char kValue[] = "C";              // value, placeholders allowed
constexpr char kRemoveNow[] = "D";          // "Remove": delete the variable instead of setting it
constexpr char kAppend[] = "E";             // "Append": add the value to the current one
constexpr char kRemoveAtUninstall[] = "F";  // "Remove": the uninstaller deletes the variable
constexpr char kScope[] = "G";              // "User" or "System"
}  // namespace envircv

// NT services to install (list, TOTAL read with 100 bytes).
namespace ntservice {
constexpr char kSection[] = "NTSERVICE";
constexpr char kName[] = "A";          // service (key) name
constexpr char kDisplayName[] = "B";   // display name, also used in the error message
constexpr char kType[] = "C";          // service type, e.g. "SERVICE_WIN32_OWN_PROCESS"
constexpr char kStartType[] = "D";     // start type, e.g. "SERVICE_AUTO_START"
constexpr char kErrorControl[] = "E";  // error control, e.g. "SERVICE_ERROR_NORMAL"
constexpr char kCommandLine[] = "F";   // service program's command line, placeholders allowed
constexpr char kUnusedG[] = "G";       // read and expanded, not used
constexpr char kUnusedH[] = "H";       // read, not used
}  // namespace ntservice

// Live update.
namespace liveupdate {
constexpr char kSection[] = "LIVEUPDATE";
constexpr char kEnabled[] = "1";       // "Yes": install the live-update program
constexpr char kMode[] = "2";          // mode, registered as LVmode
constexpr char kAddress[] = "3";       // address, registered as LVurl
constexpr char kSilent[] = "4";        // silent flag, registered as LVsilent
constexpr char kTargetFolder[] = "5";  // folder of the live-update files; empty: <InstallDir>
}  // namespace liveupdate

// Programs, documents and library functions attached to pages (list).
namespace fileaction {
constexpr char kSection[] = "FILEACTION";
constexpr char kFile[] = "B";        // ".exe", ".dll" or "http" address, placeholders allowed
constexpr char kCommand[] = "C";     // program arguments or library function name
constexpr char kWhen[] = "E";        // page name or "After Click Finish Button"
constexpr char kUnused[] = "F";      // read, not used
constexpr char kRunOnce[] = "G";     // "Yes": run at most once per setup run
constexpr char kWait[] = "H";        // "Yes": wait for the program to end
constexpr char kSystemMask[] = "L";  // operating-system mask, decimal
constexpr char kCondition[] = "M";   // name of the condition that must hold
}  // namespace fileaction

// Add-on programs and merge modules run after the installation (list).
namespace mergemodules {
constexpr char kSection[] = "MERGEMODULES";
constexpr char kProgram[] = "C";      // program; "<ResourceDir>" is the setup's SupportFiles folder
constexpr char kCommandLine[] = "D";  // its command line
constexpr char kSystemMask[] = "E";   // operating-system mask, decimal
constexpr char kFeature[] = "F";      // feature, or empty
constexpr char kCondition[] = "G";    // name of the condition that must hold
}  // namespace mergemodules

// Billboard slide show (list, TOTAL read with 100 bytes).
namespace billboardscv {
constexpr char kSection[] = "BILLBOARDSCV";
constexpr char kPicture[] = "B";  // picture file; only its name is used
constexpr char kSeconds[] = "C";  // display time in seconds
constexpr char kLeft[] = "D";     // left edge on the screen in pixels; 0 or none: 1
constexpr char kTop[] = "E";      // top edge on the screen in pixels; 0 or none: 1
}  // namespace billboardscv

}  // namespace keys
}  // namespace core
