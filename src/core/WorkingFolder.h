// The working folder: the private folder under the temporary folder into
// which the project files are decrypted and the payload cabinet extracted,
// and where each file of it lies. Every reader and writer of working files
// goes through these rules. Pure text rules.
//
// Payload files, stored as "F<number>_<name>", are extracted into sub-folders
// of the working folder, kPayloadGroupSize numbers to a sub-folder
// ("cvp<number / kPayloadGroupSize>"); every other file lies directly in the
// working folder. Creating a file costs a search of its whole folder under
// some systems, so thousands of payload files in one folder made the
// extraction's time grow with the square of their count.
#pragma once

#include <cstddef>
#include <string>

namespace core {

// Names of the decrypted project files inside the working folder.
constexpr char kSettingsFileName[] = "setup.inf";
constexpr char kDataFileName[] = "data.inf";
// The folder beside setup.exe that replaces the cabinet in disk-image mode.
constexpr char kDiskImageFolderName[] = "DiskImage1";

// tempFolder (ending with a backslash) + name + "\".
std::string WorkingFolderPath(const std::string& tempFolder, const std::string& name);

// Names a working folder may take, tried in order. The first is the time name
// ("cv" and the local time as HHMMSS); setups started within one second
// would share it, and one's clean-up would delete the other's files, so when
// its folder exists the next ones are the time name followed by "_1", "_2",
// ... A name is taken by creating its folder, which fails when the folder
// exists, never by testing first: of two setups racing, only one succeeds.
constexpr unsigned kWorkingFolderNameTries = 100;

// The name of try `attempt` (counted from 0) for timeName; "" from
// kWorkingFolderNameTries on.
std::string WorkingFolderNameCandidate(const std::string& timeName, unsigned attempt);

// The access list a working folder is created with, in the system's
// descriptor language: protected (nothing inherited from the temporary
// folder, which other users may write), full control for the user `userSid`
// (e.g. "S-1-5-21-...-1001"), the administrators and the system, and no one
// else; its files and sub-folders inherit it.
std::string PrivateFolderDescriptor(const std::string& userSid);
// Where payload files are read from: sourceFolder + "DiskImage1\" in
// disk-image mode, the working folder otherwise (both end with a backslash).
std::string PayloadFolder(bool diskImage, const std::string& sourceFolder,
                          const std::string& workingFolder);

// Where a file the project ships lies, by its stored name ("F3_app.exe" for a
// payload file, "license.rtf" for a project text): directly in the disk
// image, or where the cabinet extraction put it in the working folder.
std::string ProjectFilePath(bool diskImage, const std::string& payloadFolder,
                            const std::string& storedName);

// Payload files per sub-folder of the working folder.
constexpr unsigned kPayloadGroupSize = 128;

// Where a file of that bare name lies, relative to the working folder: the
// name itself, or "cvp<group>\<name>" for a payload file.
std::string ExtractedRelativePath(const std::string& bareName);

// Whether a name is (regardless of case) that of a payload sub-folder,
// "cvp<digits>": a file of that name cannot be extracted beside them.
bool IsPayloadGroupName(const std::string& name);

// outputFolder (ending with a backslash) + ExtractedRelativePath(bareName).
std::string ExtractedFilePath(const std::string& outputFolder, const std::string& bareName);

}  // namespace core
