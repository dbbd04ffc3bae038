#include "control/OwnImageRules.h"

namespace control::ownimage {

namespace {

constexpr wchar_t kObjectPrefix[] = L"\\??\\";
constexpr wchar_t kWin32Prefix[] = L"\\\\?\\";
constexpr wchar_t kDevicePrefix[] = L"\\Device\\";

bool StartsWith(const std::wstring& text, const wchar_t* prefix) {
    return text.compare(0, std::char_traits<wchar_t>::length(prefix), prefix) == 0;
}

// One form for both prefixes of a name in the object space.
std::wstring Comparable(const std::wstring& name) {
    std::wstring out = StartsWith(name, kWin32Prefix) ? kObjectPrefix + name.substr(4) : name;
    for (wchar_t& c : out)
        if (c >= L'a' && c <= L'z') c = static_cast<wchar_t>(c - L'a' + L'A');
    return out;
}

}  // namespace

std::wstring OpenablePath(const std::wstring& mappedName) {
    if (StartsWith(mappedName, kObjectPrefix) && mappedName.size() > 4) return kWin32Prefix + mappedName.substr(4);
    if (StartsWith(mappedName, kDevicePrefix)) return L"\\\\?\\GLOBALROOT" + mappedName;
    return std::wstring();
}

bool IsHeldFile(const std::wstring& mappedName, const std::vector<std::wstring>& heldNames) {
    if (mappedName.empty()) return false;
    const std::wstring image = Comparable(mappedName);
    for (const std::wstring& name : heldNames)
        if (!name.empty() && Comparable(name) == image) return true;
    return false;
}

}  // namespace control::ownimage
