#include "core/FileNameRules.h"

#include <cctype>

#include "core/CodePage.h"

namespace core {

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
    return base.size() == 4 && (base.compare(0, 3, "COM") == 0 || base.compare(0, 3, "LPT") == 0) &&
           base[3] >= '1' && base[3] <= '9';
}

}  // namespace core
