#include "pages/PageRules.h"

#include <cstring>

namespace pages {

std::string ReadySummary(int setupType, const std::string& destination, const std::string& userName,
                         const std::string& company) {
    static const char* const kTypes[] = {"Typical\r\n\r\n", "Minimal\r\n\r\n", "Custom\r\n\r\n"};
    std::string s = "\r\nSetup Type:\r\n\r\n";
    if (setupType >= 0 && setupType <= 2) s += kTypes[setupType];
    s += "Destination Folder:\r\n\r\n" + destination + "\r\n\r\n";
    s += "User Information:\r\n\r\n";
    if (!userName.empty()) s += "Name:" + userName + "\r\n\r\n";
    if (!company.empty()) s += "Company:" + company + "\r\n\r\n";
    return s;
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

std::string LanguageTextForm(const std::string& text) {
    std::string s = text;
    for (char& c : s) {
        if (c == '[') c = '<';
        else if (c == ']') c = '>';
    }
    const size_t brace = s.find('}');
    if (brace != std::string::npos) s.erase(0, brace + 1);
    return s;
}

std::string InvalidFolderMessage(const std::string& path) {
    return "The folder:\n\n" + path + "\n\nis invalid. Please reenter.";
}

std::string CreateFolderQuestion(const std::string& path) {
    return "The folder:\n\n" + path + "\n\ndoes not exist. Do you want the folder to be created?";
}

std::string FolderNotCreatedMessage(const std::string& path) {
    return "The folder:\n\n" + path + "\n\ncan not be created. Please double check.";
}

}  // namespace pages
