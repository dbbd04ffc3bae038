#include "cabinet/CabinetNames.h"

#include <cctype>
#include <cstring>

#include "core/CodePage.h"

namespace cabinet {

namespace codepage = core::codepage;

std::string BareName(const std::string& storedName, unsigned codePage) {
    const size_t cut = codepage::FindLastOf(storedName, "\\/:", codePage);
    return cut == std::string::npos ? storedName : storedName.substr(cut + 1);
}

namespace {

bool IsDeviceName(const std::string& name, unsigned codePage) {
    // The device is named by the text before the first dot, trailing spaces
    // ignored. Device names are ASCII: a double-byte character in the base
    // keeps it from matching any, whatever case its bytes are given.
    std::string base = name.substr(0, codepage::FindFirstOf(name, ".", codePage));
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

bool IsSafeOutputName(const std::string& bareName, unsigned codePage) {
    if (bareName.empty()) return false;
    if (bareName.find_first_not_of(". ") == std::string::npos) return false;
    for (size_t pos = 0, length = 0; pos < bareName.size(); pos += length) {
        length = codepage::CharacterLength(bareName, pos, codePage);
        const unsigned char c = static_cast<unsigned char>(bareName[pos]);
        if (length == 1 && (c < 0x20 || std::strchr("<>:\"/\\|?*", c))) return false;
    }
    return !IsDeviceName(bareName, codePage);
}

std::string OutputName(const std::string& storedName, unsigned codePage) {
    std::string bare = BareName(storedName, codePage);
    return IsSafeOutputName(bare, codePage) ? bare : std::string();
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
