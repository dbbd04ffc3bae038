#include "core/WideText.h"

#include <windows.h>

#include <climits>

namespace core::wide {

std::wstring FromCodePage(const std::string& text, unsigned codePage) {
    if (text.empty() || text.size() > INT_MAX) return std::wstring();
    const int length = static_cast<int>(text.size());
    const int n = MultiByteToWideChar(codePage, 0, text.data(), length, nullptr, 0);
    if (n <= 0) return std::wstring();
    std::wstring wide(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(codePage, 0, text.data(), length, &wide[0], n);
    return wide;
}

std::string ToCodePage(const std::wstring& text, unsigned codePage) {
    if (text.empty() || text.size() > INT_MAX / 4) return std::string();
    const int length = static_cast<int>(text.size());
    const int n = WideCharToMultiByte(codePage, 0, text.data(), length, nullptr, 0, nullptr, nullptr);
    if (n <= 0) return std::string();
    std::string narrow(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(codePage, 0, text.data(), length, &narrow[0], n, nullptr, nullptr);
    return narrow;
}

}  // namespace core::wide
