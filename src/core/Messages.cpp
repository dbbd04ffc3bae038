#include "core/Messages.h"

namespace core {

namespace {

using M = MessageId;

// In enumerator order: Message() indexes the table by the id.
const MessageEntry kMessages[] = {
    {M::SocketsFailed, "Windows sockets initialization failed.", "", ""},
    {M::RichEditMissing, "Can't load RICHTEXT library.", "", ""},
    {M::SetupUsage,
     "Usage: setup.exe [/S] [/LOG=<file>] [/D=<folder>]\r\n\r\n"
     "/S   install without any window, whatever the project says\r\n"
     "/LOG=<file>   write a diagnostic log into <file>\r\n"
     "/D=<folder>   install into <folder> (last on the line; it may contain spaces)\r\n"
     "/?   show this box\r\n\r\n"
     "Exit codes:\r\n"
     "0   installed\r\n"
     "1   abandoned: a file could not be copied, or cancelled\r\n"
     "2   refused: the computer does not meet the requirements\r\n"
     "3   the payload could not be extracted\r\n"
     "4   the setup could not run\r\n"
     "5   the command line was refused\r\n"
     "6   installed, but an add-on program or package failed\r\n"
     "3010   installed; a restart completes the installation",
     "", ""},
    {M::SwitchUnknown, "The switch %s is not known.", "", ""},
    {M::SwitchNoValue, "The switch %s needs a value after its \"=\".", "", ""},
    {M::CommandLineTooLong, "The command line is too long.", "", ""},
    {M::LogNotWritten, "The log file:\n\n%s\n\ncannot be written: %s", "", ""},
    {M::DataFilesMissing,
     "Sorry, Corvane can't find data files.\r\nsetup.nsx and data.nsx\r\n"
     "These files must be in the same directory of setup.exe",
     "", ""},
    {M::PleaseWait, "Please wait...", "", ""},
    {M::PackageDamaged,
     "This setup file is damaged and cannot run: %s.\r\n\r\nDownload or copy it again.", "", ""},
    {M::PackageNotUnpacked, "The setup could not unpack its files into\r\n%s\r\n\r\n%s", "", ""},
    {M::PackageNotRunningFile,
     "This setup file was renamed or replaced while it started, so the setup cannot tell what it would "
     "install.\r\n\r\nStart it again.", "", ""},
    {M::PackageUnpacking, "Preparing the setup... %d%%", "", ""},
    {M::RequirementOperatingSystem,
     "The operating system is not adequate for running <ProductName>.", kMessageFileSection, "0"},
    {M::RequirementColors,
     "The color settings of your system are not adequate for running <ProductName>.",
     kMessageFileSection, "1"},
    {M::RequirementScreen, "The screen resolution is not adequate for running <ProductName>.",
     kMessageFileSection, "2"},
    {M::RequirementMemory, "The amount of RAM is not adequate for running <ProductName>.",
     kMessageFileSection, "3"},
    {M::RequirementProcessor, "The processor is not adequate for running <ProductName>.",
     kMessageFileSection, "4"},
    {M::AdministratorRights, "Sorry, you need administrator rights to install this software.", "",
     ""},
    {M::IconFileMissing, "File not found: (%s)", "", ""},
    {M::CancelQuestion, "Are you sure you want to cancel the installation of <ProductName>?",
     "CancelSetup", "0"},
    {M::CancelStay, "Cancel", "CancelSetup", "1"},
    {M::CancelLeave, "OK", "CancelSetup", "2"},
    // Without a language text the button keeps the caption of its dialog template.
    {M::ErrorBoxClose, "Cancel", "SetupError", "3"},
    {M::ProgressStarting, "Starting copying files...", "", ""},
    {M::CompleteInterrupted,
     "The installation of <ProductName> was interrupted before it could finish.",
     "SetupCompleteError", "3"},
    {M::CompleteRestart,
     "<ProductName> is installed. Restart your computer to complete the installation.", "", ""},
    {M::CompleteAddOnFailed, "<ProductName> is installed, but these add-on programs or packages failed:%s", "",
     ""},
    {M::ReadySetupTypeHeading, "Setup Type:\r\n\r\n", "", ""},
    // The setup type page's own names when no language file names them
    // (pages::SetupTypeName reads the language file's).
    {M::ReadyTypical, "Typical", "", ""},
    {M::ReadyMinimal, "Minimal", "", ""},
    {M::ReadyCustom, "Custom", "", ""},
    {M::ReadyDestinationHeading, "Destination Folder:\r\n\r\n", "", ""},
    {M::ReadyUserHeading, "User Information:\r\n\r\n", "", ""},
    {M::ReadyNameLabel, "Name: ", "", ""},
    {M::ReadyCompanyLabel, "Company: ", "", ""},
    {M::BrowsePrompt, "Choose destination directory...", "", ""},
    {M::FolderInvalid, "The folder:\n\n%s\n\nis invalid. Please reenter.", "", ""},
    {M::ScopeNeedsAdministrator,
     "Installing <ProductName> for anyone who uses this computer needs administrator rights. Choose "
     "\"Only for me\", or start the setup again as an administrator.",
     "", ""},
    {M::ScopeOnlyForMe, "<ProductName> can be installed only for you: choose \"Only for me\".", "", ""},
    {M::FolderCreateQuestion,
     "The folder:\n\n%s\n\ndoes not exist. Do you want the folder to be created?", "", ""},
    {M::FolderNotCreated, "The folder:\n\n%s\n\ncan not be created. Please double check.", "", ""},
    {M::FeatureInstall, "This feature will be installed on local hard drive", "", ""},
    {M::FeatureExclude, "This feature will not be installed", "", ""},
    {M::EngineErrorFormat, "Error Number: %i\r\nMessage: %s", "", ""},
    {M::EngineComFailed,
     "Iniciar() - Corvane Can't CO-INITIALIZE; Please restart your computer; If not work, you "
     "must update your Windows!",
     "", ""},
    {M::EngineFileDataFailed, "LoadFileData() - Error", "", ""},
    {M::EngineLogFailed, "The uninstall log can not be written:\r\n%s\r\nThe installation is taken back.", "", ""},
    {M::StatusLoadingData, "Loading data information...", "", ""},
    {M::StatusCreatingDirectories, "Creating directories...", "", ""},
    {M::StatusCopyingFiles, "Please Wait, Copying Files...", "", ""},
    {M::StatusCreatingShortcuts, "Please Wait, Creating Shortcuts...", "", ""},
    {M::StatusSettingSystem, "Please Wait, Setting system...", "", ""},
    {M::StatusInstallingService, "Installing Service...", "", ""},
    {M::StatusFinishing, "Finishing settings...", "", ""},
    {M::StatusRemovingTemporary, "Removing temporary files...", "", ""},
    {M::CopyCriticalFailed,
     "Corvane will abort installation, the file:\r\n%s\r\nCan't be installed.", "", ""},
    {M::CopyFailed, "Corvane can't copy the file:\r\n%s\r\nWhat you would like to do ?", "", ""},
    {M::ServiceFailed, "Corvane can't install %s service. What do you want to do ?", "", ""},
    {M::StatusRunningUninstallProgram, "Running the uninstall program...", "", ""},
    {M::StatusRemovingServices, "Removing services...", "", ""},
    {M::StatusRemovingShortcuts, "Removing shortcuts...", "", ""},
    {M::StatusRemovingFiles, "Removing files...", "", ""},
    {M::StatusRestoringEnvironment, "Restoring environment variables...", "", ""},
    {M::StatusRemovingRegistry, "Removing registry entries...", "", ""},
    {M::StatusRemovingAssociations, "Removing file associations...", "", ""},
    {M::StatusRemovingFolders, "Removing folders...", "", ""},
    {M::StatusRemovingRegistration, "Removing the uninstall registration...", "", ""},
    {M::StatusRestoringFiles, "Restoring replaced files...", "", ""},
    {M::StatusRollingBack, "Rolling back...", "", ""},
    {M::DownloadStatusFailed,
     "Failed to retrieve a HTTP 200 status, Status Code:%d\r\nTry later or download using your "
     "browser and add this file to Corvane Folder.",
     "", ""},
    {M::DownloadEstimate, "Estimated time left: %s - ", "", ""},
    {M::DownloadKBPerSec, "%1 KB/Sec", "", ""},
    {M::DownloadBytes, "%1 Bytes", "", ""},
    {M::DownloadMB, "%1 MB", "", ""},
    {M::DownloadOf, "%1 of %2", "", ""},
    {M::DownloadKB, "%1 KB", "", ""},
    {M::DownloadSeconds, "%1 sec", "", ""},
    {M::DownloadMinutes, "%1 min", "", ""},
    {M::DownloadMinutesSeconds, "%1 min %2 sec", "", ""},
    {M::DownloadCopied, "%1 (%2 copied)", "", ""},
    {M::DownloadBytesPerSec, "%1 Bytes/Sec", "", ""},
    {M::DownloadReceived, "Received: %s - ", "", ""},
    {M::DownloadFailed, "Corvane can't download the file:\r\n%s\r\n%s", "", ""},
    {M::DownloadReasonShort, "The connection ended before the whole file had arrived.", "", ""},
    {M::DownloadReasonDigest, "The downloaded file is not the one the setup expects (SHA-256).", "", ""},
    {M::DownloadReasonAddress, "The address names no server the setup can reach.", "", ""},
    {M::DownloadReasonWrite, "The file could not be written: %s", "", ""},
    {M::DownloadReasonSystem, "%s (error %d)", "", ""},
    {M::DownloadReasonRedirect, "The server sent the download on to an address the setup does not follow: %s", "",
     ""},
    {M::DownloadReasonRedirects, "The server sent the download on too many times.", "", ""},
    {M::DownloadReasonRange, "The server sent another part of the file than the one asked for.", "", ""},
    {M::DownloadReasonEncoded, "The server sent the file in chunks whose end cannot be checked.", "", ""},
    {M::DownloadReasonDeadline, "The server did not send the whole text within %d seconds.", "", ""},
    {M::UninstallUsage,
     "Usage:\r\ncvexec.exe /R <ProductCode>   remove the product\r\n"
     "cvexec.exe /M <ProductCode>   modify, repair or remove it\r\n"
     "cvexec.exe \"/S\" <ProductCode>   remove it without asking\r\n"
     "/LOG=<file> before the option or after the code also writes a diagnostic log",
     "", ""},
    {M::UninstallNotRegistered,
     "The product <ProductCode> is not installed on this computer: there is nothing to remove.",
     kMessageFileSection, "U1"},
    {M::UninstallLogMissing,
     "The uninstall log of <ProductName> is missing or cannot be read, so nothing was "
     "removed.\r\n\r\nDo you want to take <ProductName> off the list of installed programs?",
     kMessageFileSection, "U2"},
    {M::UninstallTitle, "<ProductName> Uninstall", kMessageFileSection, "U3"},
    {M::UninstallQuestion,
     "Do you want to remove <ProductName> and all of its components from your computer?",
     kMessageFileSection, "U4"},
    {M::UninstallYesButton, "Yes", kMessageFileSection, "U5"},
    {M::UninstallNoButton, "No", kMessageFileSection, "U6"},
    {M::UninstallPreparing, "Removing <ProductName>...", kMessageFileSection, "U7"},
    {M::UninstallRemoved, "<ProductName> was removed from your computer.", kMessageFileSection, "U8"},
    {M::UninstallRemovedPartly, "<ProductName> was removed, but not completely.",
     kMessageFileSection, "U9"},
    {M::UninstallLeftOverHeading, "These items could not be removed:", kMessageFileSection, "U10"},
    {M::UninstallSkippedHeading,
     "These lines of the uninstall log are of a kind this uninstaller does not know; "
     "what they name was left alone:",
     kMessageFileSection, "U11"},
    {M::UninstallRestartHeading, "These items will be removed when the computer restarts:",
     kMessageFileSection, "U12"},
    {M::UninstallMoreItems, "(and %s more)", "", ""},
    {M::MaintenanceQuestion, "What do you want to do with <ProductName>?", kMessageFileSection, "U13"},
    {M::MaintenanceModify, "&Modify", kMessageFileSection, "U14"},
    {M::MaintenanceRepair, "Re&pair", kMessageFileSection, "U15"},
    {M::MaintenanceRemove, "&Remove", kMessageFileSection, "U16"},
    {M::MaintenanceLeave, "Cancel", kMessageFileSection, "U17"},
    {M::MaintenanceSetupMissing,
     "The setup program <ProductName> was installed from is no longer there: it cannot be "
     "modified or repaired.",
     kMessageFileSection, "U18"},
    {M::MaintenanceSetupFailed, "The setup program of <ProductName> could not be started.",
     kMessageFileSection, "U19"},
};

static_assert(sizeof kMessages / sizeof kMessages[0] == kMessageCount,
              "every message id needs exactly one table entry");

const MessageEntry kNoMessage = {M::Count, "", "", ""};

}  // namespace

const MessageEntry& Message(MessageId id) {
    const auto index = static_cast<std::size_t>(id);
    return index < kMessageCount ? kMessages[index] : kNoMessage;
}

const char* EnglishText(MessageId id) { return Message(id).english; }

std::string LocalisedText(
    MessageId id, const std::function<std::string(const char* section, const char* key)>& lookup) {
    const MessageEntry& entry = Message(id);
    if (entry.section[0] != '\0' && lookup) {
        std::string text = lookup(entry.section, entry.key);
        if (!text.empty()) return text;
    }
    return entry.english;
}

std::string FormatText(const char* format, std::initializer_list<std::string> args) {
    std::string out;
    auto next = args.begin();
    for (const char* p = format; *p; ++p) {
        const bool field = p[0] == '%' && (p[1] == 's' || p[1] == 'i' || p[1] == 'd');
        if (field && next != args.end()) {
            out += *next++;
            ++p;
        } else if (p[0] == '%' && p[1] == '%') {
            out += '%';
            ++p;
        } else {
            out += *p;
        }
    }
    return out;
}

}  // namespace core
