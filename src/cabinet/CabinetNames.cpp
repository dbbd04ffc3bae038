#include "cabinet/CabinetNames.h"

#include <cstring>

#include "core/CodePage.h"
#include "core/FileNameRules.h"

namespace cabinet {

namespace codepage = core::codepage;

std::string BareName(const std::string& storedName, unsigned codePage) {
    const size_t cut = codepage::FindLastOf(storedName, "\\/:", codePage);
    return cut == std::string::npos ? storedName : storedName.substr(cut + 1);
}

bool IsSafeOutputName(const std::string& bareName, unsigned codePage) {
    if (bareName.empty()) return false;
    if (bareName.find_first_not_of(". ") == std::string::npos) return false;
    for (size_t pos = 0, length = 0; pos < bareName.size(); pos += length) {
        length = codepage::CharacterLength(bareName, pos, codePage);
        const unsigned char c = static_cast<unsigned char>(bareName[pos]);
        if (length == 1 && (c < 0x20 || std::strchr("<>:\"/\\|?*", c))) return false;
    }
    return !core::IsDeviceName(bareName, codePage);
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
