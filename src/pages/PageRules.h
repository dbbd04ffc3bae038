// Rules of the standard pages that need no window: the ready summary, the
// features a setup type installs and the destination-folder check.
#pragma once

#include <string>
#include <vector>

#include "core/FeatureTable.h"

namespace pages {

// The summary the ready page shows. setupTypeName is the chosen type as the
// setup type page names it (SetupTypeName), "" when none was chosen.
std::string ReadySummary(const std::string& setupTypeName, const std::string& destination,
                         const std::string& userName, const std::string& company);

// The control of the setup type page that stands for a type (0 typical,
// 1 minimal, 2 custom: "IDC_TYPICAL"...), nullptr for any other value.
const char* SetupTypeControl(int setupType);

// A caption as plain text: a single "&" (which marks the access key) is
// dropped, "&&" stands for one "&".
std::string WithoutAccessKey(const std::string& caption);

// Sets the feature states a setup type stands for. The project names no
// features per type, so typical and minimal install every feature; custom
// keeps the choices made on the custom setup page; any other value (no type
// chosen) changes nothing.
void ApplySetupType(int setupType, core::FeatureTable& features);

// A folder typed or chosen for the installation: a drive letter, ":" and "\"
// followed by valid names separated by single backslashes (no trailing one).
bool IsValidFolderPath(const std::string& path);

// The folders to create one level at a time from the drive root, shortest first
// ("C:\a\b" gives "C:\a", "C:\a\b").
std::vector<std::string> FolderLevels(const std::string& path);

// The three folder-check messages with the path filled in.
std::string InvalidFolderMessage(const std::string& path);
std::string CreateFolderQuestion(const std::string& path);
std::string FolderNotCreatedMessage(const std::string& path);

}  // namespace pages
