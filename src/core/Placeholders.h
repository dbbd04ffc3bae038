// Placeholder expansion: project texts name machine-dependent values through
// placeholders such as <ProgramFilesFolder> or <InstallDir>. Two expansions
// share one placeholder table and one order: the setup expansion (start-up and
// wizard pages) and the engine expansion (installation items).
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace core {

// Longest text an expansion produces. Values may feed each other (a variable
// whose value holds its own name, or variables that double the text one after
// the other), so every replacement step cuts its result at this length; with
// one single pass per table row, both time and memory stay bounded whatever
// the values hold. 64 KiB is far above any path, command line or page text.
constexpr size_t kMaxExpandedLength = 64 * 1024;

// At most this many variables take part in an expansion (the variables table
// never holds more); later entries are ignored.
constexpr size_t kMaxPlaceholderVariables = 50;

struct PlaceholderVariable {
    std::string name;   // replaced wherever it occurs, exactly as written
    std::string value;
};

// Every value the placeholder table refers to. The setup expansion fills it
// from the setup state; the engine expansion from the engine's snapshot.
struct PlaceholderValues {
    std::string programFilesFolder;  // <ProgramFilesFolder>, as stored in the registry
    std::string systemFolder;        // <SystemFolder>, trailing backslash
    std::string windowsFolder;       // <WindowsFolder>, no trailing backslash
    std::string commonFilesFolder;   // <CommonFilesFolder>, as stored in the registry
    std::string windowsVolume;       // <WindowsVolume>, "C:"
    std::string favoritesFolder;     // <FavoritesFolder>
    std::string personalFolder;      // <PersonalFolder>
    std::string picturesFolder;      // <MyPicturesFolder>
    std::string tempFolder;          // <TempFolder>, trailing backslash
    std::string sendToFolder;        // <SendToFolder>
    std::string fontsFolder;         // <FontsFolder>
    std::string appDataFolder;       // <AppDataFolder>
    std::string localAppDataFolder;  // <LocalAppDataFolder>: the user's local application data
    std::string userProgramsFolder;  // <UserProgramsFolder>: <LocalAppDataFolder>\Programs
    std::string productName;         // <ProductName>
    std::string installDir;          // <InstallDir> and <Install Dir>, trailing backslash
    std::string productCode;         // <ProductCode>
    std::string userName;            // <USERNAME> (setup only) and <UserName>: customer name
    std::string companyName;         // <CompanyName>
    std::string publisher;           // <Publisher>
    std::string productVersion;      // <ProductVersion>
    std::vector<PlaceholderVariable> variables;  // in table order
};

// The names of the placeholders every project has, with their angle brackets,
// in the order they are applied ("<ProgramFilesFolder>", ...). The project's
// variables come on top of them.
std::vector<std::string> PlaceholderNames();

// Setup expansion. A text with neither "<" nor ">" comes back unchanged;
// otherwise "[Name]" becomes "<Name>" where that is a placeholder of the table
// or a variable's name (every other square bracket stays as written), the
// placeholder rows and then the variables are replaced, and every run of
// backslashes becomes one, but where a path begins (the text's start, or
// after a blank, a double quote, "=", ";" or ","), where a network path keeps
// its leading pair.
std::string ExpandSetupText(const std::string& text, const PlaceholderValues& values);

// Engine expansion: as the setup expansion, but square brackets stay and
// <USERNAME> is not replaced. Afterwards, when the installation folder the
// user chose (`currentInstallFolder`, trailing backslash) differs from the
// project's default (`defaultInstallFolder`, trailing backslash) and is not
// just "\", every occurrence of the default folder without its last character
// is replaced by the chosen folder, so paths written under the default move
// under the chosen folder.
std::string ExpandEngineText(const std::string& text, const PlaceholderValues& values,
                             const std::string& currentInstallFolder,
                             const std::string& defaultInstallFolder);

}  // namespace core
