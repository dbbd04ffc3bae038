#include "control/ProjectFiles.h"

#include <windows.h>

#include <stdexcept>

#include "core/Folders.h"
#include "crypt/ProjectCipher.h"

namespace control {

ProjectFileResult DecryptProjectFiles(CRijndaelFileCrypt& cipher, const std::string& sourceFolder,
                                      const std::string& settingsPath,
                                      const std::string& dataPath) {
    ProjectFileResult result;
    try {
        InitializeProjectCipher(cipher);
        const std::string settingsContainer = sourceFolder + "setup.nsx";
        if (!core::folders::Exists(settingsContainer)) return result;
        cipher.DecryptFile(settingsContainer.c_str(), settingsPath.c_str());
        const std::string dataContainer = sourceFolder + "data.nsx";
        if (!core::folders::Exists(dataContainer)) return result;
        cipher.DecryptFile(dataContainer.c_str(), dataPath.c_str());
    } catch (const std::exception& e) {
        result.outcome = ProjectFileResult::CipherError;
        result.message = e.what();
        return result;
    }
    result.outcome = ProjectFileResult::Decrypted;
    return result;
}

}  // namespace control
