#include "core/Placeholders.h"

#include <algorithm>

namespace core {

namespace {

// One row of the placeholder table.
struct PlaceholderRow {
    const char* placeholder;
    std::string PlaceholderValues::*value;
    bool setupOnly;
};

// The rows in the order they are applied; the variables follow them.
const PlaceholderRow kRows[] = {
    {"<ProgramFilesFolder>", &PlaceholderValues::programFilesFolder, false},
    {"<SystemFolder>", &PlaceholderValues::systemFolder, false},
    {"<WindowsFolder>", &PlaceholderValues::windowsFolder, false},
    {"<CommonFilesFolder>", &PlaceholderValues::commonFilesFolder, false},
    {"<WindowsVolume>", &PlaceholderValues::windowsVolume, false},
    {"<FavoritesFolder>", &PlaceholderValues::favoritesFolder, false},
    {"<PersonalFolder>", &PlaceholderValues::personalFolder, false},
    {"<MyPicturesFolder>", &PlaceholderValues::picturesFolder, false},
    {"<TempFolder>", &PlaceholderValues::tempFolder, false},
    {"<SendToFolder>", &PlaceholderValues::sendToFolder, false},
    {"<FontsFolder>", &PlaceholderValues::fontsFolder, false},
    {"<AppDataFolder>", &PlaceholderValues::appDataFolder, false},
    {"<LocalAppDataFolder>", &PlaceholderValues::localAppDataFolder, false},
    {"<UserProgramsFolder>", &PlaceholderValues::userProgramsFolder, false},
    {"<ProductName>", &PlaceholderValues::productName, false},
    {"<InstallDir>", &PlaceholderValues::installDir, false},
    {"<Install Dir>", &PlaceholderValues::installDir, false},
    {"<ProductCode>", &PlaceholderValues::productCode, false},
    {"<USERNAME>", &PlaceholderValues::userName, true},
    {"<UserName>", &PlaceholderValues::userName, false},
    {"<CompanyName>", &PlaceholderValues::companyName, false},
    {"<Publisher>", &PlaceholderValues::publisher, false},
    {"<ProductVersion>", &PlaceholderValues::productVersion, false},
};

// Replaces every non-overlapping occurrence of `from` in one left-to-right
// pass (inserted text is not scanned again). When anything is replaced the
// result is cut at kMaxExpandedLength; the output never grows beyond it while
// being built.
void ReplaceCapped(std::string& s, const std::string& from, const std::string& to) {
    if (from.empty()) return;
    size_t hit = s.find(from);
    if (hit == std::string::npos) return;
    std::string out;
    out.reserve(std::min(s.size(), kMaxExpandedLength));
    size_t pos = 0;
    bool full = false;
    for (; hit != std::string::npos; hit = s.find(from, pos)) {
        out.append(s, pos, hit - pos);
        if (out.size() >= kMaxExpandedLength) {
            full = true;
            break;
        }
        out.append(to, 0, kMaxExpandedLength - out.size());
        pos = hit + from.size();
        if (out.size() >= kMaxExpandedLength) {
            full = true;
            break;
        }
    }
    if (!full) out.append(s, pos, std::string::npos);
    if (out.size() > kMaxExpandedLength) out.resize(kMaxExpandedLength);
    s.swap(out);
}

// Whether s[begin, begin + length) is the name inside `angled` ("<Name>").
bool IsNameOf(const std::string& s, size_t begin, size_t length, const std::string& angled) {
    return angled.size() == length + 2 && angled.front() == '<' && angled.back() == '>' &&
           s.compare(begin, length, angled, 1, length) == 0;
}

// Whether "<" + s[begin, begin + length) + ">" is a name the setup expansion
// replaces: a row of the table or a variable's name.
bool NamesPlaceholder(const std::string& s, size_t begin, size_t length,
                      const PlaceholderValues& values) {
    for (const PlaceholderRow& row : kRows)
        if (IsNameOf(s, begin, length, row.placeholder)) return true;
    const size_t count = std::min(values.variables.size(), kMaxPlaceholderVariables);
    for (size_t i = 0; i < count; ++i)
        if (IsNameOf(s, begin, length, values.variables[i].name)) return true;
    return false;
}

// The setup expansion's square-bracket form: "[Name]" becomes "<Name>" when
// that is a placeholder or a variable, so texts may write either form. Every
// other square bracket is ordinary text and stays, so a folder such as
// "Tool [x64]" keeps its name. A pair holds no bracket inside: in "[[Name]]"
// only the inner pair counts. One pass; the length does not change.
void SquareBracketsToPlaceholders(std::string& s, const PlaceholderValues& values) {
    for (size_t open = s.find('['); open != std::string::npos; open = s.find('[', open + 1)) {
        const size_t close = s.find_first_of("[]", open + 1);
        if (close == std::string::npos) return;
        if (s[close] != ']' || !NamesPlaceholder(s, open + 1, close - open - 1, values)) continue;
        s[open] = '<';
        s[close] = '>';
        open = close;
    }
}

// Where a path may begin: a network path's leading pair there is kept.
bool StartsAPath(const std::string& s, size_t at) {
    return at == 0 || s[at - 1] == ' ' || s[at - 1] == '"' || s[at - 1] == '=' || s[at - 1] == ';' ||
           s[at - 1] == ',';
}

// Joined parts bring backslashes twice ("<InstallDir>\bin", an empty value
// between two): every run of them becomes one, but where a path begins, where
// a network path keeps its two ("\\server\share").
void CollapseBackslashes(std::string& s) {
    std::string out;
    out.reserve(s.size());
    for (size_t at = 0; at < s.size();) {
        if (s[at] != '\\') {
            out += s[at++];
            continue;
        }
        size_t end = at;
        while (end < s.size() && s[end] == '\\') ++end;
        out.append(end - at >= 2 && StartsAPath(s, at) ? 2 : 1, '\\');
        at = end;
    }
    s.swap(out);
}

// Steps shared by both expansions: table rows, variables, backslash runs.
// Returns false when the text holds no angle bracket and stays as it came.
bool ExpandCommon(std::string& s, const PlaceholderValues& values, bool setup) {
    if (s.find('<') == std::string::npos && s.find('>') == std::string::npos) return false;
    if (setup) SquareBracketsToPlaceholders(s, values);
    for (const PlaceholderRow& row : kRows) {
        if (row.setupOnly && !setup) continue;
        ReplaceCapped(s, row.placeholder, values.*row.value);
    }
    const size_t count = std::min(values.variables.size(), kMaxPlaceholderVariables);
    for (size_t i = 0; i < count; ++i)
        ReplaceCapped(s, values.variables[i].name, values.variables[i].value);
    CollapseBackslashes(s);
    return true;
}

// Moves paths written under the default folder to the chosen one. Only whole
// folder names move: the match must end the text or be followed by a
// backslash, so "C:\App" does not touch "C:\Apps\x" (a sibling folder the user
// may well choose). Text that already lies under the chosen folder (it may lie
// under the default, or be the expansion of <InstallDir>) is left alone.
void Relocate(std::string& s, const std::string& from, const std::string& to) {
    std::string out;
    size_t pos = 0;
    for (size_t hit = s.find(from); hit != std::string::npos; hit = s.find(from, hit + 1)) {
        if (hit < pos) continue;
        const size_t end = hit + from.size();
        const bool wholeFolder = end == s.size() || s[end] == '\\';
        if (!wholeFolder || s.compare(hit, to.size(), to) == 0) continue;
        out.append(s, pos, hit - pos);
        out += to;
        pos = end;
        if (out.size() >= kMaxExpandedLength) break;
    }
    if (pos == 0 && out.empty()) return;
    if (out.size() < kMaxExpandedLength) out.append(s, pos, std::string::npos);
    if (out.size() > kMaxExpandedLength) out.resize(kMaxExpandedLength);
    s.swap(out);
}

}  // namespace

std::vector<std::string> PlaceholderNames() {
    std::vector<std::string> names;
    for (const PlaceholderRow& row : kRows) names.push_back(row.placeholder);
    return names;
}

std::string ExpandSetupText(const std::string& text, const PlaceholderValues& values) {
    std::string s = text;
    ExpandCommon(s, values, true);
    return s;
}

std::string ExpandEngineText(const std::string& text, const PlaceholderValues& values,
                             const std::string& currentInstallFolder,
                             const std::string& defaultInstallFolder) {
    std::string s = text;
    if (!ExpandCommon(s, values, false)) return s;
    // Relocation: the default loses only its last character (its trailing
    // backslash) while the chosen folder keeps its own, so a moved path
    // carries two backslashes after the folder, which the file system accepts.
    if (currentInstallFolder != defaultInstallFolder && currentInstallFolder != "\\" &&
        defaultInstallFolder.size() > 1) {
        Relocate(s, defaultInstallFolder.substr(0, defaultInstallFolder.size() - 1),
                 currentInstallFolder);
    }
    return s;
}

}  // namespace core
