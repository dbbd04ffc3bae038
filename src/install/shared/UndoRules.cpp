#include "install/shared/UndoRules.h"

#include "core/CodePage.h"
#include "install/shared/SystemSettingRules.h"
#include "util/Text.h"

namespace install::undorules {

namespace {

using core::codepage::CharacterLength;

bool IsAsciiLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

// The parts between backslashes, by characters of the code page; empty parts
// (a leading "\\", a doubled backslash) are kept as "".
std::vector<std::string> Parts(const std::string& path, unsigned codePage) {
    std::vector<std::string> parts(1);
    for (size_t pos = 0, length = 0; pos < path.size(); pos += length) {
        length = CharacterLength(path, pos, codePage);
        if (length == 1 && path[pos] == '\\') parts.emplace_back();
        else parts.back().append(path, pos, length);
    }
    return parts;
}

// "\\?\" and "\\.\" begin device and long paths, not shares: their folders
// would escape the comparison with the kept folders.
bool IsServerName(const std::string& part) { return !part.empty() && part != "?" && part != "."; }

// Whether the comparable path names a folder below the root of a drive
// ("c:\x") or of a share ("\\server\share\x"), with no empty, "." or ".."
// part after its root.
bool IsBelowRoot(const std::string& comparable, unsigned codePage) {
    const std::vector<std::string> parts = Parts(comparable, codePage);
    size_t firstFolder = 0;
    const std::string& head = parts[0];
    if (head.size() == 2 && IsAsciiLetter(head[0]) && head[1] == ':') {
        firstFolder = 1;  // "c:" then the folders
    } else if (head.empty() && parts.size() > 3 && parts[1].empty() && IsServerName(parts[2]) &&
               !parts[3].empty()) {
        firstFolder = 4;  // "", "", server, share, then the folders
    } else {
        return false;
    }
    if (parts.size() <= firstFolder) return false;
    for (size_t i = firstFolder; i < parts.size(); ++i)
        if (parts[i].empty() || parts[i] == "." || parts[i] == "..") return false;
    return true;
}

}  // namespace

std::string ComparableFolder(const std::string& path, unsigned codePage) {
    std::string out;
    size_t kept = 0;  // length up to the last character that is not a backslash
    for (size_t pos = 0, length = 0; pos < path.size(); pos += length) {
        length = CharacterLength(path, pos, codePage);
        if (length == 2) {
            out.append(path, pos, 2);
            kept = out.size();
            continue;
        }
        char c = path[pos];
        if (c == '/') c = '\\';
        else if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
        out += c;
        if (c != '\\') kept = out.size();
    }
    out.resize(kept);
    return out;
}

bool IsSameOrBelow(const std::string& inner, const std::string& outer, unsigned codePage) {
    const std::string in = ComparableFolder(inner, codePage);
    const std::string out = ComparableFolder(outer, codePage);
    if (in.empty() || out.empty() || in.compare(0, out.size(), out) != 0) return false;
    return in.size() == out.size() || in[out.size()] == '\\';
}

bool IsRemovableTree(const std::string& folder, const std::vector<std::string>& keptFolders,
                     unsigned codePage) {
    if (!IsBelowRoot(ComparableFolder(folder, codePage), codePage)) return false;
    for (const std::string& kept : keptFolders)
        if (IsSameOrBelow(kept, folder, codePage)) return false;
    return true;
}

bool MayRemoveWholeFolder(const std::string& folder, const std::vector<std::string>& loggedFolders,
                          const std::vector<std::string>& keptFolders, unsigned codePage) {
    const std::string wanted = ComparableFolder(folder, codePage);
    bool logged = false;
    for (const std::string& dir : loggedFolders)
        logged = logged || (!wanted.empty() && ComparableFolder(dir, codePage) == wanted);
    return logged && IsRemovableTree(folder, keptFolders, codePage);
}

std::string DosPathOfFinal(const std::string& finalPath) {
    const std::string unc = "\\\\?\\UNC\\";
    const std::string local = "\\\\?\\";
    if (finalPath.compare(0, unc.size(), unc) == 0) return "\\\\" + finalPath.substr(unc.size());
    if (finalPath.compare(0, local.size(), local) == 0) return finalPath.substr(local.size());
    return finalPath;
}

bool LiesWhereNamed(const std::string& finalPath, const std::string& parentFinalPath, const std::string& name,
                    unsigned codePage) {
    if (name.empty() || finalPath.empty() || parentFinalPath.empty()) return false;
    return ComparableFolder(finalPath, codePage) == ComparableFolder(parentFinalPath, codePage) + "\\" +
                                                        ComparableFolder(name, codePage);
}

size_t Depth(const std::string& path, unsigned codePage) {
    return Parts(ComparableFolder(path, codePage), codePage).size();
}

std::optional<ValuePath> SplitValuePath(const std::string& path, unsigned codePage) {
    const size_t cut = core::codepage::FindLastOf(path, "\\", codePage);
    if (cut == std::string::npos) return std::nullopt;
    return ValuePath{path.substr(0, cut), path.substr(cut + 1)};
}

bool IsEnvironmentVariable(const std::string& valuePath, unsigned codePage) {
    const std::optional<ValuePath> split = SplitValuePath(valuePath, codePage);
    if (!split || split->name.empty()) return false;
    const std::string user = std::string("HKEY_CURRENT_USER\\") + systemrules::kUserEnvironmentKey;
    const std::string machine = std::string("HKEY_LOCAL_MACHINE\\") + systemrules::kMachineEnvironmentKey;
    return util::text::EqualsIgnoringAsciiCase(split->key, user) ||
           util::text::EqualsIgnoringAsciiCase(split->key, machine);
}

bool IsPlainFileName(const std::string& name, unsigned codePage) {
    return !name.empty() && name != "." && name != ".." &&
           core::codepage::FindFirstOf(name, "\\/:", codePage) == std::string::npos;
}

bool IsSharedUninstaller(const std::string& file, const std::vector<std::string>& sharedFolders,
                         unsigned codePage) {
    const size_t cut = core::codepage::FindLastOf(file, "\\/", codePage);
    if (cut == std::string::npos) return false;
    if (!util::text::EqualsIgnoringAsciiCase(file.substr(cut + 1), kSharedUninstallerName)) return false;
    const std::string folder = ComparableFolder(file.substr(0, cut), codePage);
    for (const std::string& shared : sharedFolders)
        if (!folder.empty() && ComparableFolder(shared, codePage) == folder) return true;
    return false;
}

}  // namespace install::undorules
