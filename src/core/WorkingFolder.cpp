#include "core/WorkingFolder.h"

#include <cctype>

namespace core {

std::string WorkingFolderPath(const std::string& tempFolder, const std::string& name) {
    return tempFolder + name + "\\";
}

std::string WorkingFolderNameCandidate(const std::string& timeName, unsigned attempt) {
    if (attempt >= kWorkingFolderNameTries) return std::string();
    return attempt == 0 ? timeName : timeName + "_" + std::to_string(attempt);
}

std::string PayloadFolder(bool diskImage, const std::string& sourceFolder,
                          const std::string& workingFolder) {
    return diskImage ? sourceFolder + kDiskImageFolderName + "\\" : workingFolder;
}

std::string ProjectFilePath(bool diskImage, const std::string& payloadFolder,
                            const std::string& storedName) {
    return diskImage ? payloadFolder + storedName : ExtractedFilePath(payloadFolder, storedName);
}

namespace {

// Payload sub-folders are this text followed by their group number.
constexpr char kGroupPrefix[] = "cvp";
constexpr size_t kGroupPrefixLength = sizeof kGroupPrefix - 1;

// The number of a payload file's stored name "F<digits>_...", or -1. Numbers
// too long to be a record's are not payload names.
long PayloadNumber(const std::string& name) {
    if (name.size() < 3 || name[0] != 'F') return -1;
    size_t i = 1;
    long number = 0;
    while (i < name.size() && std::isdigit(static_cast<unsigned char>(name[i]))) {
        if (i > 9) return -1;
        number = number * 10 + (name[i] - '0');
        ++i;
    }
    if (i == 1 || i >= name.size() || name[i] != '_') return -1;
    return number;
}

// "cvp<group>" for a payload file, "" for a file of the output folder itself.
std::string ExtractedSubfolder(const std::string& bareName) {
    const long number = PayloadNumber(bareName);
    if (number < 0) return std::string();
    return kGroupPrefix + std::to_string(number / static_cast<long>(kPayloadGroupSize));
}

}  // namespace

std::string ExtractedRelativePath(const std::string& bareName) {
    const std::string sub = ExtractedSubfolder(bareName);
    return sub.empty() ? bareName : sub + "\\" + bareName;
}

bool IsPayloadGroupName(const std::string& name) {
    if (name.size() <= kGroupPrefixLength) return false;
    for (size_t i = 0; i < kGroupPrefixLength; ++i)
        if (std::tolower(static_cast<unsigned char>(name[i])) != kGroupPrefix[i]) return false;
    for (size_t i = kGroupPrefixLength; i < name.size(); ++i)
        if (!std::isdigit(static_cast<unsigned char>(name[i]))) return false;
    return true;
}

std::string ExtractedFilePath(const std::string& outputFolder, const std::string& bareName) {
    return outputFolder + ExtractedRelativePath(bareName);
}

std::string PrivateFolderDescriptor(const std::string& userSid) {
    const std::string rights = "(A;OICI;FA;;;";
    return "D:P" + rights + userSid + ")" + rights + "BA)" + rights + "SY)";
}

}  // namespace core
