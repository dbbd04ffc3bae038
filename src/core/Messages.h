// Every text the setup shows or reports to the user, with its built-in
// English text and the language-file section and key that localise it.
// One table, so that a localised run and the built-in texts cannot drift
// apart and a translator can see which key changes which text.
#pragma once

#include <cstddef>
#include <functional>
#include <initializer_list>
#include <string>

namespace core {

// Title of the setup's message boxes, message dialogs and folder browser.
constexpr char kMessageCaption[] = "Brenmark Corvane";

// Texts of this section are read from the message file "language.lan" in the
// source folder, whatever language was chosen; the texts of every other
// section come from the applied language file ("languages\<name>.lan").
constexpr char kMessageFileSection[] = "REQ";

// One enumerator per text, grouped by who shows it. Texts with printf fields
// (%s, %i, %d) are formatted by their caller; "%1" and "%2" are filled by the
// download display; placeholders such as <ProductName> are expanded by the
// caller. No text with a printf field has a language key, so a language file
// never supplies a format.
enum class MessageId {
    // Application start
    SocketsFailed,              // Windows sockets could not start; the setup ends
    RichEditMissing,            // the rich-edit library is missing; start-up goes on
    // The command line (setup.exe, and LogNotWritten for cvexec.exe too)
    SetupUsage,                 // the usage box: the switches and the exit codes
    SwitchUnknown,              // a switch the setup does not know; %s the switch
    SwitchNoValue,              // /LOG= or /D= without its value; %s the switch
    CommandLineTooLong,         // the command line is longer than the setup reads
    LogNotWritten,              // the log file cannot be written; %s the file, %s the system's text
    // Main frame start-up
    DataFilesMissing,           // setup.nsx or data.nsx is not beside setup.exe
    PleaseWait,                 // the wait window while variables are read from files or the web
    // A single-file setup unpacking its package (before any project file is read)
    PackageDamaged,             // the program's own file is damaged; %s what is wrong
    PackageNotUnpacked,         // the package could not be unpacked; %s the folder, %s why
    PackageNotRunningFile,      // the file at the program's name is not the one that runs
    PackageUnpacking,           // the progress window while the package is unpacked; %d the percentage
    // System requirement checks (message file, section REQ)
    RequirementOperatingSystem, // this operating system is not allowed
    RequirementColors,          // too few colours
    RequirementScreen,          // the screen is too small
    RequirementMemory,          // too little memory
    RequirementProcessor,       // the processor name does not match
    AdministratorRights,        // administrator rights needed but missing
    // Skinned pages
    IconFileMissing,            // an icon file named by a layout is missing; %s the path
    // Wizard: cancel confirmation and error box
    CancelQuestion,             // asks whether to leave the setup
    CancelStay,                 // the confirmation's button that keeps the user in the wizard
    CancelLeave,                // the confirmation's button that confirms leaving
    ErrorBoxClose,              // the one button of the wizard's error box
    // Standard pages
    ProgressStarting,           // the progress page's first status line
    CompleteInterrupted,        // complete page status after a cancelled or abandoned run
    CompleteRestart,            // complete page status when add-ons need a restart
    CompleteAddOnFailed,        // complete page status when an add-on failed: %s the list
    ReadySetupTypeHeading,      // ready summary: heading of the setup type
    ReadyTypical,               // ready summary: setup type 0
    ReadyMinimal,               // ready summary: setup type 1
    ReadyCustom,                // ready summary: setup type 2
    ReadyDestinationHeading,    // ready summary: heading of the destination folder
    ReadyUserHeading,           // ready summary: heading of the user information
    ReadyNameLabel,             // ready summary: put before the user name
    ReadyCompanyLabel,          // ready summary: put before the organisation
    BrowsePrompt,               // the folder browser's prompt
    FolderInvalid,              // a typed folder is not a valid path; %s the path
    ScopeNeedsAdministrator,    // "anyone" chosen on the customer page without administrator rights
    ScopeOnlyForMe,             // "anyone" chosen on the customer page of a per-user project
    FolderCreateQuestion,       // asks to create a missing folder; %s the path
    FolderNotCreated,           // a folder could not be created; %s the path
    FeatureInstall,             // feature tree menu: include the feature
    FeatureExclude,             // feature tree menu: exclude the feature
    // Installation engine
    EngineErrorFormat,          // frame of an engine error; %i the number, %s the message
    EngineComFailed,            // error 0: COM could not start on the installation thread
    EngineFileDataFailed,       // error 1: the file list could not be loaded
    EngineLogFailed,            // error 2: the uninstall log could not be written; %s its path
    StatusLoadingData,          // status while the file list is read
    StatusCreatingDirectories,  // status while the destination folders are made
    StatusCopyingFiles,         // status of the file phase
    StatusCreatingShortcuts,    // status of the shortcut phase
    StatusSettingSystem,        // status of the INI, registry, association and environment phase
    StatusInstallingService,    // status of the service phase
    StatusFinishing,            // status of the uninstall registration
    StatusRemovingTemporary,    // status while the working folder is removed
    CopyCriticalFailed,         // a critical file failed to copy, Cancel only; %s the destination
    CopyFailed,                 // a file failed to copy, Retry/Ignore/Cancel; %s the destination
    ServiceFailed,              // a service could not be created; %s its display name
    // Uninstaller: removal steps
    StatusRunningUninstallProgram,  // while the product's uninstall-time program runs
    StatusRemovingServices,         // while services are stopped and deleted
    StatusRemovingShortcuts,        // while shortcuts are deleted
    StatusRemovingFiles,            // while files are deleted
    StatusRestoringEnvironment,     // while environment variables are put back
    StatusRemovingRegistry,         // while registry values and keys are deleted
    StatusRemovingAssociations,     // while file associations are taken back
    StatusRemovingFolders,          // while the product's folders are removed
    StatusRemovingRegistration,     // while the entry in the list of programs is removed
    StatusRestoringFiles,           // while the files a run replaced are put back
    // Rollback of a run that did not complete
    StatusRollingBack,              // the progress page's status while a run is undone
    // Web download
    DownloadStatusFailed,       // the server did not answer 200; %d the status code
    DownloadEstimate,           // the info line, followed by the speed; %s the time left
    DownloadKBPerSec,           // string 104: speed of 1 KB/s or more
    DownloadBytes,              // string 105: size below 1 KB
    DownloadMB,                 // string 107: size of 1 MB or more
    DownloadOf,                 // string 108: bytes done of total
    DownloadKB,                 // string 109: size from 1 KB below 1 MB
    DownloadSeconds,            // string 110: time left below a minute
    DownloadMinutes,            // string 111: whole minutes
    DownloadMinutesSeconds,     // string 112: minutes and seconds
    DownloadCopied,             // string 113: time left with the byte counts
    DownloadBytesPerSec,        // string 114: speed below 1 KB/s
    DownloadReceived,           // the info line without a known size, followed by the speed; %s the bytes
    DownloadFailed,             // a failed transfer's question; %s the address, %s the reason
    DownloadReasonShort,        // reason: the body ended before its announced length
    DownloadReasonDigest,       // reason: the SHA-256 digest differs from the project's
    DownloadReasonAddress,      // reason: the address names no host, port or scheme the setup can use
    DownloadReasonWrite,        // reason: the target file could not be written; %s the system's text
    DownloadReasonSystem,       // reason: a failed Internet call; %s the system's text, %d its code
    DownloadReasonRedirect,     // reason: a redirect the setup does not follow; %s where it led
    DownloadReasonRedirects,    // reason: more redirects than the setup follows
    DownloadReasonRange,        // reason: a part of the file other than the one asked for
    DownloadReasonEncoded,      // reason: a body sent in chunks, whose end cannot be checked
    DownloadReasonDeadline,     // reason: a web text that did not arrive in time; %d the seconds
    // Uninstaller: its pages and messages (message file, section REQ, keys "U1"...)
    UninstallUsage,             // the command line was not understood (no message file known yet)
    UninstallNotRegistered,     // no registration under the product code
    UninstallLogMissing,        // the log is missing or unreadable; asks whether to unregister
    UninstallTitle,             // caption of the uninstaller's own dialogs
    UninstallQuestion,          // the confirmation page's question
    UninstallYesButton,         // the button that starts the removal
    UninstallNoButton,          // the button that leaves without removing
    UninstallPreparing,         // first status line once the removal starts
    UninstallRemoved,           // closing message: everything was removed
    UninstallRemovedPartly,     // closing message: something stays
    UninstallLeftOverHeading,   // closing message: heading of what stays
    UninstallSkippedHeading,    // closing message: heading of log lines of unknown kinds
    UninstallRestartHeading,    // closing message: heading of what goes at the next restart
    UninstallMoreItems,         // after a cut list; %s how many more
    MaintenanceQuestion,        // the maintenance dialog's question
    MaintenanceModify,          // maintenance choice: start the setup to change the features
    MaintenanceRepair,          // maintenance choice: start the setup to install again
    MaintenanceRemove,          // maintenance choice: remove the product
    MaintenanceLeave,           // the maintenance dialog's cancel button
    MaintenanceSetupMissing,    // the setup the product came from is gone
    MaintenanceSetupFailed,     // the setup could not be started
    Count                       // not a text: the number of texts
};

constexpr std::size_t kMessageCount = static_cast<std::size_t>(MessageId::Count);

struct MessageEntry {
    MessageId id;
    const char* english;  // the built-in text, never empty
    const char* section;  // language-file section, "" when no language file localises it
    const char* key;      // key in that section, "" with an empty section
};

// The entry of `id`. An id outside the table (only reachable by a cast) gives
// an entry with empty texts.
const MessageEntry& Message(MessageId id);

// The built-in English text of `id` ("" for an id outside the table).
const char* EnglishText(MessageId id);

// The text to show: `lookup(section, key)` when the entry has a language key
// and the lookup answers a non-empty text, otherwise the English text. The
// lookup reads the language file (or the message file for kMessageFileSection)
// and returns the text in the form it is shown in; it is not called for texts
// without a key.
// Fills the printf fields of a text (%s, %i, %d) with the arguments in order;
// fields without an argument stay as written, "%%" gives "%".
std::string FormatText(const char* format, std::initializer_list<std::string> args);

std::string LocalisedText(
    MessageId id, const std::function<std::string(const char* section, const char* key)>& lookup);

}  // namespace core
