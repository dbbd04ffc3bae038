#include "pages/FolderCheck.h"

#include "pages/PageRules.h"
#include "core/Messages.h"

namespace pages {

namespace {

using core::kMessageCaption;

bool Exists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

}  // namespace

FolderCheckResult CheckDestinationFolder(HWND owner, const std::string& path) {
    if (!pages::IsValidFolderPath(path)) {
        MessageBoxA(owner, pages::InvalidFolderMessage(path).c_str(), kMessageCaption,
                    MB_OK | MB_ICONEXCLAMATION);
        return FolderCheckResult::Invalid;
    }
    if (Exists(path)) return FolderCheckResult::Good;
    if (MessageBoxA(owner, pages::CreateFolderQuestion(path).c_str(), kMessageCaption,
                    MB_YESNO | MB_ICONQUESTION) != IDYES)
        return FolderCheckResult::NotCreated;
    for (const std::string& level : pages::FolderLevels(path)) {
        CreateDirectoryA(level.c_str(), nullptr);
        if (!Exists(level)) {
            MessageBoxA(owner, pages::FolderNotCreatedMessage(path).c_str(), kMessageCaption,
                        MB_OK | MB_ICONEXCLAMATION);
            return FolderCheckResult::NotCreated;
        }
    }
    return FolderCheckResult::Good;
}

}  // namespace pages
