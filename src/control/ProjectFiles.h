// Decryption of the shipped project files into the working folder.
#pragma once

#include <string>

#include "crypt/RijndaelFileCrypt.h"

namespace control {

struct ProjectFileResult {
    enum Outcome { Decrypted, Missing, CipherError } outcome = Missing;
    std::string message;  // the cipher's message for CipherError
};

// Decrypts sourceFolder's setup.nsx into settingsPath and data.nsx into
// dataPath (both in the working folder, which exists) with the project
// parameters.
// Missing: one of the two containers is absent (setup.inf may exist already).
ProjectFileResult DecryptProjectFiles(CRijndaelFileCrypt& cipher, const std::string& sourceFolder,
                                      const std::string& settingsPath,
                                      const std::string& dataPath);

}  // namespace control
