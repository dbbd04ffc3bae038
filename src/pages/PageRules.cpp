#include "pages/PageRules.h"
#include "core/Messages.h"
#include "pages/PageSequence.h"

#include <cstring>

namespace pages {

std::string ReadySummary(const std::string& setupTypeName, const std::string& destination,
                         const std::string& userName, const std::string& company) {
    using core::EnglishText;
    using core::MessageId;
    std::string s = std::string("\r\n") + EnglishText(MessageId::ReadySetupTypeHeading);
    if (!setupTypeName.empty()) s += setupTypeName + "\r\n\r\n";
    s += EnglishText(MessageId::ReadyDestinationHeading) + destination + "\r\n\r\n";
    s += EnglishText(MessageId::ReadyUserHeading);
    if (!userName.empty()) s += EnglishText(MessageId::ReadyNameLabel) + userName + "\r\n\r\n";
    if (!company.empty()) s += EnglishText(MessageId::ReadyCompanyLabel) + company + "\r\n\r\n";
    return s;
}

const char* SetupTypeControl(int setupType) {
    switch (setupType) {
    case wizard::kSetupTypeTypical: return "IDC_TYPICAL";
    case wizard::kSetupTypeMinimal: return "IDC_MINIMAL";
    case wizard::kSetupTypeCustom: return "IDC_CUSTOM";
    default: return nullptr;
    }
}

std::string WithoutAccessKey(const std::string& caption) {
    std::string text;
    for (size_t i = 0; i < caption.size(); ++i) {
        if (caption[i] == '&' && i + 1 < caption.size()) ++i;
        else if (caption[i] == '&') continue;
        text += caption[i];
    }
    return text;
}

void ApplySetupType(int setupType, core::FeatureTable& features) {
    if (setupType != wizard::kSetupTypeTypical && setupType != wizard::kSetupTypeMinimal) return;
    for (size_t i = 0; i < features.Size(); ++i) features.SetState(i, core::kFeatureInstall);
}

namespace {

bool IsDriveRoot(const std::string& p) {
    const char c = p.size() >= 3 ? p[0] : '\0';
    return ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z')) && p[1] == ':' && p[2] == '\\';
}

bool IsValidName(const std::string& name) {
    if (name.empty()) return false;
    for (char edge : {name.front(), name.back()})
        if (edge == '\t' || edge == ' ' || edge == '.') return false;
    return name.find_first_of("\"*/:<>?\\|") == std::string::npos;
}

}  // namespace

bool IsValidFolderPath(const std::string& path) {
    if (path.size() <= 2 || !IsDriveRoot(path)) return false;
    if (path.size() == 3) return true;
    size_t start = 3;
    for (;;) {
        const size_t end = path.find('\\', start);
        if (!IsValidName(path.substr(start, end == std::string::npos ? end : end - start)))
            return false;
        if (end == std::string::npos) return true;
        start = end + 1;
    }
}

std::vector<std::string> FolderLevels(const std::string& path) {
    std::vector<std::string> levels;
    for (size_t pos = path.find('\\', 3); ; pos = path.find('\\', pos + 1)) {
        levels.push_back(path.substr(0, pos));
        if (pos == std::string::npos) break;
    }
    return levels;
}

std::string InvalidFolderMessage(const std::string& path) {
    return core::FormatText(core::EnglishText(core::MessageId::FolderInvalid), {path});
}

std::string CreateFolderQuestion(const std::string& path) {
    return core::FormatText(core::EnglishText(core::MessageId::FolderCreateQuestion), {path});
}

std::string FolderNotCreatedMessage(const std::string& path) {
    return core::FormatText(core::EnglishText(core::MessageId::FolderNotCreated), {path});
}

}  // namespace pages
