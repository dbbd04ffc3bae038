#include "install/shortcuts/ShortcutRules.h"

#include <cstddef>

#include "util/Text.h"

namespace install::shortcutrules {

namespace {

constexpr char kProgramsMenu[] = "Start Menu\\Programs Menu";
constexpr char kStartUp[] = "Start Menu\\StartUp";
constexpr char kStartMenu[] = "Start Menu";
constexpr char kDesktop[] = "Desktop";
constexpr char kFavorites[] = "Favorites";
constexpr char kActiveDesktop[] = "Active Desktop\\";
constexpr char kQuickLaunch[] = "\\Microsoft\\Internet Explorer\\Quick Launch\\";

// True when the location begins with the word as whole path components.
bool BeginsWithWord(const std::string& location, const std::string& word) {
    return location.compare(0, word.size(), word) == 0 &&
           (location.size() == word.size() || location[word.size()] == '\\');
}

// folder + the location after the word; "" for an unknown folder.
std::string Join(const std::string& folder, const std::string& rest) {
    if (folder.empty()) return std::string();
    if (folder.back() == '\\' && !rest.empty() && rest.front() == '\\')
        return folder + rest.substr(1);
    return folder + rest;
}

void RemoveAll(std::string& text, const std::string& part) {
    if (part.empty()) return;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at))
        text.erase(at, part.size());
}

size_t CountBackslashes(const std::string& text) {
    size_t n = 0;
    for (char c : text) n += c == '\\';
    return n;
}

}  // namespace

std::string TrimLocation(const std::string& location) {
    return util::text::WithoutTrailingBackslashes(location);
}

std::string ReplaceShellFolderWords(const std::string& location, const core::SpecialFolderValues& f) {
    const std::string activeDesktop = kActiveDesktop;
    if (location.compare(0, activeDesktop.size(), activeDesktop) == 0)
        return f.appData.empty() ? std::string()
                                 : Join(f.appData, kQuickLaunch + location.substr(activeDesktop.size()));
    const struct {
        const char* word;
        const std::string& folder;
    } words[] = {{kProgramsMenu, f.programMenu}, {kStartUp, f.startupMenu}, {kDesktop, f.desktop},
                 {kFavorites, f.favorites},      {kStartMenu, f.startMenu}};
    for (const auto& w : words) {
        const std::string word = w.word;
        if (BeginsWithWord(location, word)) return Join(w.folder, location.substr(word.size()));
    }
    return location;
}

std::string ShortcutFolder(const std::string& path) {
    const size_t last = path.rfind('\\');
    return last == std::string::npos ? std::string() : path.substr(0, last + 1);
}

bool CreatesGroupFolder(const std::string& location, const std::string& expandedName) {
    std::string r = location;
    if (r.find(kStartMenu) != std::string::npos || r.find(kDesktop) != std::string::npos) {
        RemoveAll(r, expandedName);
        if (!r.empty() && r.back() == '\\') r.pop_back();
    }
    const size_t backslashes = CountBackslashes(r);
    return r.find(kProgramsMenu) != std::string::npos ? backslashes > 1 : backslashes > 0;
}

int ShowCommandOf(const std::string& windowState) {
    if (windowState == "Maximized") return 3;
    if (windowState == "Minimized") return 6;
    return 0;
}

bool IsShellFolder(const std::string& folder, const core::SpecialFolderValues& folders) {
    const std::string candidate = util::text::WithoutTrailingBackslashes(folder);
    if (candidate.empty()) return false;
    for (const std::string* shell : {&folders.programMenu, &folders.startMenu, &folders.startupMenu,
                                     &folders.desktop, &folders.favorites, &folders.appData})
        if (util::text::EqualsIgnoringAsciiCase(candidate, util::text::WithoutTrailingBackslashes(*shell))) return true;
    return false;
}

}  // namespace install::shortcutrules
