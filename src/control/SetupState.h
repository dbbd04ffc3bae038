// Everything start-up learns about the machine and the project, held by the
// main frame for the whole run. Flags are 32-bit words: 255 on, 0 off.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "install/FileRules.h"

constexpr int32_t kFlagOn = 255;
constexpr int32_t kFlagOff = 0;

struct SpecialFolderValues {
    std::string favorites;
    std::string sharedDocuments;
    std::string pictures;
    std::string programMenu;
    std::string music;
    std::string sendTo;
    std::string fonts;
    std::string appData;
    std::string documents;
    std::string startupMenu;
    std::string startMenu;
    std::string desktop;
};

// One project variable: its value feeds the placeholder expansion.
struct SetupVariable {
    std::string name;
    std::string description;
    std::string value;
};

struct SetupState {
    // Folders discovered at start-up.
    std::string windowsFolder;      // no trailing backslash
    std::string windowsVolume;      // "C:"
    std::string tempFolder;         // trailing backslash
    std::string sourceFolder;       // trailing backslash
    std::string systemFolder;       // trailing backslash
    std::string themeFolder;        // source folder + "theme\"
    std::string languageFilePath;   // source folder + "language.lan"
    std::string workingFolderName;  // "cvHHMMSS"
    std::string workingFolder;      // temp folder + name + "\"
    std::string programFilesFolder;
    std::string commonFilesFolder;
    SpecialFolderValues special;

    // Project files after decryption.
    std::string settingsPath;  // working folder + "setup.inf"
    std::string dataPath;      // working folder + "data.inf"

    // Identity and product values.
    std::string loginName;
    std::string customerName;  // starts as the login name; the customer page edits it
    std::string companyName;
    std::string productName;
    std::string publisher;
    std::string productVersion;
    std::string productCode;
    std::string installFolder;         // current; trailing backslash
    std::string defaultInstallFolder;  // as the project gave it; trailing backslash
    std::string currentInstallFolder;  // shown and changed by the destination page
    std::string languageName;
    std::string launchFile;        // DIALOGLIST CT10
    std::string launchParameters;  // CT11
    std::string readmeFile;        // CT13
    bool showLaunchFile = true;    // CT9
    bool showLaunchReadme = true;  // CT12
    std::string customerRegistryRoot;  // CT17
    std::string customerRegistryKey;   // CT18
    std::string osName;
    std::vector<SetupVariable> variables;  // at most 50
    filerules::FeatureTable features;      // the custom setup page changes their states
    std::string appliedLanguageFile;       // the language file applied to the theme, or ""

    // Flags.
    int32_t diskImage = kFlagOff;
    int32_t splashShown = kFlagOff;
    int32_t splashMayClose = kFlagOff;
    int32_t splashFinished = kFlagOff;
    int32_t unattended = kFlagOff;
    int32_t preview = kFlagOff;
    int32_t perUserScope = kFlagOff;
    int32_t noAdministrator = kFlagOff;
    int32_t setupType = -1;
    int32_t launchFileChosen = 0;
    int32_t launchReadmeChosen = 0;
    int32_t installForAnyone = kFlagOn;  // the customer page's anyone / only-for-me choice
    int32_t finished = kFlagOff;         // the run was aborted: page moves are ignored
    int32_t mergeModulesPending = kFlagOff;
};

// Process-wide flags shared with worker threads: plain 32-bit words written
// by one thread and polled by another.
struct ProcessFlags {
    volatile int32_t cancelled = -1;  // the run was aborted
    volatile int32_t cancel = 0;      // the user confirmed cancelling
};

ProcessFlags& GlobalFlags();
