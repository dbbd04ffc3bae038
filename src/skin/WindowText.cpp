#include "skin/WindowText.h"

#include "core/WideText.h"

namespace skin {

void SetWindowTextIn(HWND hwnd, const std::string& text, bool utf8) {
    if (!utf8) {
        SetWindowTextA(hwnd, text.c_str());
        return;
    }
    const std::wstring wide = core::wide::FromCodePage(text, CP_UTF8);
    SetWindowTextW(hwnd, wide.c_str());
}

std::wstring WindowTextWide(HWND hwnd) {
    const int length = GetWindowTextLengthW(hwnd);
    if (length <= 0) return std::wstring();
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    const int n = GetWindowTextW(hwnd, &text[0], length + 1);
    text.resize(n > 0 ? static_cast<size_t>(n) : 0);
    return text;
}

}  // namespace skin
