#include "cabinet/CabinetNames.h"

#include <cctype>
#include <cstring>

namespace cabinet {

std::string BareName(const std::string& storedName) {
    size_t cut = storedName.find_last_of("\\/:");
    return cut == std::string::npos ? storedName : storedName.substr(cut + 1);
}

namespace {

bool IsDeviceName(const std::string& name) {
    // The device is named by the text before the first dot, trailing spaces ignored.
    std::string base = name.substr(0, name.find('.'));
    while (!base.empty() && base.back() == ' ') base.pop_back();
    for (char& c : base) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    if (base == "CON" || base == "PRN" || base == "AUX" || base == "NUL" || base == "CONIN$" ||
        base == "CONOUT$")
        return true;
    if (base.size() == 4 && (base.compare(0, 3, "COM") == 0 || base.compare(0, 3, "LPT") == 0) &&
        base[3] >= '1' && base[3] <= '9')
        return true;
    return false;
}

}  // namespace

bool IsSafeOutputName(const std::string& bareName) {
    if (bareName.empty()) return false;
    if (bareName.find_first_not_of(". ") == std::string::npos) return false;
    for (unsigned char c : bareName) {
        if (c < 0x20 || std::strchr("<>:\"/\\|?*", c)) return false;
    }
    return !IsDeviceName(bareName);
}

std::string OutputName(const std::string& storedName) {
    std::string bare = BareName(storedName);
    return IsSafeOutputName(bare) ? bare : std::string();
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

bool JoinBounded(char* out, size_t outSize, const char* folder, const char* name) {
    if (outSize == 0) return false;
    out[0] = '\0';
    const size_t a = std::strlen(folder);
    const size_t b = std::strlen(name);
    if (a >= outSize || b >= outSize - a) return false;
    std::memcpy(out, folder, a);
    std::memcpy(out + a, name, b);
    out[a + b] = '\0';
    return true;
}

}  // namespace cabinet
