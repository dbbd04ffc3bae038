#include "install/files/FileRules.h"

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <utility>

#include "download/WebAddress.h"
#include "util/Text.h"

namespace install::filerules {

bool SystemMaskMatches(int32_t mask, const std::string& osName) {
    if (mask == 0 || mask == 255 || (mask & kSystemAll)) return true;
    static const struct {
        int32_t bit;
        const char* name;
    } kSystems[] = {{kSystem98, "98"},   {kSystem98SE, "98SE"}, {kSystemME, "ME"},  {kSystemNT4, "NT4"},
                    {kSystem2000, "2000"}, {kSystemXP, "XP"},     {kSystemNET, "NET"}};
    for (const auto& s : kSystems)
        if ((mask & s.bit) && osName == s.name) return true;
    return false;
}

std::string RemoveDestinationComputer(const std::string& destDir) {
    return util::text::ReplaceAll(destDir, "Destination Computer\\", "");
}

std::string DestinationPath(const std::string& destDir, const std::string& fileName) {
    return util::text::WithTrailingBackslash(RemoveDestinationComputer(destDir)) + fileName;
}

WebItem ParseWebItem(const std::string& sourceLine) {
    WebItem w;
    size_t brace = sourceLine.find('{');
    download::DigestSplit digest = download::SplitDigestSuffix(sourceLine.substr(0, brace));
    w.address = std::move(digest.address);
    w.sha256 = std::move(digest.sha256);
    w.badDigest = digest.malformed;
    if (brace != std::string::npos) {
        w.condition = sourceLine.substr(brace + 1);
        if (!w.condition.empty() && w.condition.back() == '}') w.condition.pop_back();
    }
    size_t slash = w.address.rfind('/');
    w.fileName = slash == std::string::npos ? w.address : w.address.substr(slash + 1);
    return w;
}

uint32_t AttributesAfterInstall(uint32_t current, int32_t flags) {
    uint32_t a = current & ~kAttrNormal;
    if (flags & (kFlagReadOnly | kFlagReadOnlyToo))
        a |= kAttrReadOnly;
    else
        a &= ~kAttrReadOnly;
    if (flags & kFlagHidden) a |= kAttrHidden;
    if (flags & kFlagSystem) a |= kAttrSystem;
    return a == 0 ? kAttrNormal : a;
}

bool IsVersionedLibrary(const std::string& sourcePath) {
    std::string lower = sourcePath;
    for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return lower.find(".dll") != std::string::npos || lower.find(".ocx") != std::string::npos;
}

std::vector<uint64_t> ParseVersion(const std::string& versionText) {
    std::vector<uint64_t> parts;
    const std::string t = util::text::ReplaceAll(versionText, ",", ".");
    size_t i = 0;
    auto skipSpaces = [&] {
        while (i < t.size() && (t[i] == ' ' || t[i] == '\t')) ++i;
    };
    for (;;) {
        skipSpaces();
        if (i >= t.size() || !std::isdigit(static_cast<unsigned char>(t[i]))) break;
        uint64_t n = 0;
        for (; i < t.size() && std::isdigit(static_cast<unsigned char>(t[i])); ++i) {
            uint64_t d = static_cast<uint64_t>(t[i] - '0');
            n = n > (UINT64_MAX - d) / 10 ? UINT64_MAX : n * 10 + d;
        }
        parts.push_back(n);
        skipSpaces();
        if (i >= t.size() || t[i] != '.') break;
        ++i;
    }
    return parts;
}

int CompareVersions(const std::vector<uint64_t>& a, const std::vector<uint64_t>& b) {
    const size_t n = a.size() > b.size() ? a.size() : b.size();
    for (size_t i = 0; i < n; ++i) {
        uint64_t x = i < a.size() ? a[i] : 0;
        uint64_t y = i < b.size() ? b[i] : 0;
        if (x != y) return x < y ? -1 : 1;
    }
    return 0;
}

bool ShouldReplaceByVersion(const std::string& installing, const std::string& existing) {
    const std::vector<uint64_t> mine = ParseVersion(installing);
    const std::vector<uint64_t> theirs = ParseVersion(existing);
    if (mine.empty()) return false;
    if (theirs.empty()) return true;
    return CompareVersions(mine, theirs) > 0;
}

std::string BackupFolder(const std::string& destinationVolume, const std::string& uninstallVolume,
                         const std::string& uninstallFolder, const std::string& productCode,
                         const std::string& unique) {
    if (destinationVolume.empty()) return std::string();
    if (util::text::EqualsIgnoringAsciiCase(destinationVolume, uninstallVolume))
        return util::text::WithTrailingBackslash(uninstallFolder) + "Backup\\";
    return util::text::WithTrailingBackslash(destinationVolume) + "Rollback." + productCode + "." + unique + "\\";
}

bool IsInUninstallFolder(const std::string& backup, const std::string& uninstallFolder) {
    const std::string folder = util::text::WithTrailingBackslash(uninstallFolder);
    return !uninstallFolder.empty() && backup.size() > folder.size() &&
           util::text::EqualsIgnoringAsciiCase(backup.substr(0, folder.size()), folder);
}

std::string BackupName(unsigned n, const std::string& path) {
    const size_t slash = path.find_last_of("\\/:");
    return std::to_string(n) + "_" + (slash == std::string::npos ? path : path.substr(slash + 1));
}

constexpr unsigned kBackupsPerFolder = 256;

std::string BackupBucket(unsigned n) {
    return "b" + std::to_string(n / kBackupsPerFolder) + "\\";
}

bool IsBackupBucket(const std::string& folderName) {
    return folderName.size() > 1 && folderName.size() <= 11 && folderName[0] == 'b' &&
           folderName.find_first_not_of("0123456789", 1) == std::string::npos;
}

std::vector<std::string> PendingDeletions(const std::string& multiString) {
    std::vector<std::string> strings;
    for (size_t at = 0; at < multiString.size();) {
        const size_t end = std::min(multiString.find('\0', at), multiString.size());
        strings.push_back(multiString.substr(at, end - at));
        at = end + 1;
    }
    // An empty string ends the list only where a source would start.
    std::vector<std::string> deletions;
    for (size_t i = 0; i + 1 < strings.size() && !strings[i].empty(); i += 2) {
        if (!strings[i + 1].empty()) continue;
        const std::string& source = strings[i];
        deletions.push_back(source.compare(0, 4, "\\??\\") == 0 ? source.substr(4) : source);
    }
    return deletions;
}

}  // namespace install::filerules
