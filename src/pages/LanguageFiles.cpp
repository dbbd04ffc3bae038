#include "pages/LanguageFiles.h"

#include <windows.h>

#include "core/WideText.h"

namespace pages {

namespace {

std::wstring LanguagesFolder(const std::string& sourceFolder) {
    return core::wide::FromCodePage(sourceFolder, CP_ACP) + L"languages\\";
}

// The text in the ANSI code page, or "" when a character of it has no exact
// form there (no best-fit look-alike: the file would not be found).
std::string ExactlyInAnsi(const std::wstring& text) {
    if (text.empty()) return "";
    BOOL lossy = FALSE;
    const int length = static_cast<int>(text.size());
    const int n = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text.data(), length, nullptr, 0, nullptr, &lossy);
    if (n <= 0 || lossy) return "";
    std::string narrow(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text.data(), length, &narrow[0], n, nullptr, &lossy);
    return lossy ? "" : narrow;
}

}  // namespace

std::vector<std::wstring> ListLanguageNames(const std::string& sourceFolder) {
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((LanguagesFolder(sourceFolder) + L"*.lan").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return names;
    do {
        std::wstring name = found.cFileName;
        if (name == L"." || name == L".." || name.size() <= 4) continue;
        name.resize(name.size() - 4);
        names.push_back(name);
    } while (FindNextFileW(search, &found));
    FindClose(search);
    return names;
}

std::string LanguageNameToApply(const std::string& sourceFolder, const std::wstring& name) {
    const std::string ansi = ExactlyInAnsi(name);
    if (!ansi.empty() || name.empty()) return ansi;
    const std::wstring path = LanguagesFolder(sourceFolder) + name + L".lan";
    wchar_t shortPath[MAX_PATH] = L"";
    const DWORD n = GetShortPathNameW(path.c_str(), shortPath, MAX_PATH);
    if (n == 0 || n >= MAX_PATH) return "";
    std::wstring file(shortPath);
    file = file.substr(file.find_last_of(L'\\') + 1);
    if (file.size() <= 4) return "";
    return ExactlyInAnsi(file.substr(0, file.size() - 4));
}

}  // namespace pages
