#include "FolderEntries.h"

#include <algorithm>
#include <cctype>

#include "PayloadPath.h"
#include "Utf8Text.h"
#include "core/CodePage.h"

namespace fs = std::filesystem;

namespace {

constexpr unsigned kUtf8CodePage = 65001;
const char kFile[] = "data.inf";

size_t CharacterLength(const std::string& text, size_t pos, unsigned codePage) {
    if (codePage != kUtf8CodePage) return core::codepage::CharacterLength(text, pos, codePage);
    char32_t character;
    const size_t length = utf8::SequenceLength(text, pos, character);
    return length == 0 ? 1 : length;
}

std::vector<std::string> Characters(const std::string& text, unsigned codePage) {
    std::vector<std::string> characters;
    for (size_t pos = 0, length; pos < text.size(); pos += length) {
        length = CharacterLength(text, pos, codePage);
        std::string character = text.substr(pos, length);
        if (length == 1) character[0] = static_cast<char>(std::tolower(static_cast<unsigned char>(character[0])));
        characters.push_back(character);
    }
    return characters;
}

// The part of a source line up to and with its last separator.
std::string FolderPart(const std::string& line, unsigned codePage) {
    const size_t slash = core::codepage::FindLastOf(line, "\\/", codePage);
    return slash == std::string::npos ? "" : line.substr(0, slash + 1);
}

// The relative paths (with slashes) of the files under `folder` whose names match.
// Every matching file below `folder`. A walk that fails part-way (a folder
// that cannot be read, too many levels) fills `problem`: a package short of
// files must never build as if it were whole. An entry that is no regular
// file (a link to nothing, a device) is passed over.
std::vector<std::string> MatchingFiles(const fs::path& folder, const std::string& pattern, bool utf8,
                                       unsigned codePage, std::string& problem) {
    std::vector<std::string> found;
    std::error_code walk;
    for (fs::recursive_directory_iterator it(folder, fs::directory_options::skip_permission_denied, walk), end;
         !walk && it != end; it.increment(walk)) {
        std::error_code entry;
        if (!it->is_regular_file(entry)) continue;
        if (MatchesWildcard(pattern, PathText(it->path().filename(), utf8), codePage))
            found.push_back(PathText(it->path().lexically_relative(folder), utf8));
    }
    if (walk) problem = "cannot read all of " + folder.string() + ": " + walk.message();
    std::sort(found.begin(), found.end());
    return found;
}

std::string WithBackslashes(std::string path) {
    std::replace(path.begin(), path.end(), '/', '\\');
    return path;
}

// The record of one file an entry matched, `relative` its path below the
// entry's folder (backslashes) on disk and as the setup reads it.
ProjectDataRecord FileRecord(const ProjectDataRecord& entry, const std::string& diskRelative,
                             const std::string& shippedRelative, unsigned codePage, bool utf8) {
    ProjectDataRecord record;
    record.lineNumber = entry.lineNumber;
    record.diskLine = FolderPart(entry.diskLine, utf8 ? kUtf8CodePage : codePage) + diskRelative;
    record.sourceLine = FolderPart(entry.sourceLine, codePage) + shippedRelative;
    core::filelist::DataFields fields = core::filelist::SplitDataLine(entry.dataLine);
    const size_t lastSeparator = core::codepage::FindLastOf(shippedRelative, "\\", codePage);
    if (lastSeparator != std::string::npos) {
        const bool ended = !fields.destDir.empty() &&
                           core::codepage::FindLastOf(fields.destDir, "\\", codePage) ==
                               fields.destDir.size() - 1;
        fields.destDir += (ended ? "" : "\\") + shippedRelative.substr(0, lastSeparator + 1);
    }
    record.dataLine = JoinDataLine(fields);
    record.fields = core::filelist::ParseRecord(record.sourceLine, record.dataLine, codePage);
    return record;
}

void Expand(const ProjectDataRecord& entry, const fs::path& projectDir, bool utf8,
            SourceConverter& converter, Diagnostics& diagnostics,
            std::vector<ProjectDataRecord>& out) {
    const unsigned codePage = converter.CodePage();
    const unsigned diskCodePage = utf8 ? kUtf8CodePage : codePage;
    const std::string folderText = FolderPart(entry.diskLine, diskCodePage);
    const std::string pattern = entry.diskLine.substr(folderText.size());
    const fs::path folder = PayloadPath(projectDir, folderText.empty() ? "." : folderText, utf8, codePage);
    std::error_code ec;
    if (!fs::is_directory(folder, ec)) {
        diagnostics.Error(kFile, entry.lineNumber, "folder not found: " + folder.string());
        return;
    }
    std::string problem;
    const std::vector<std::string> files = MatchingFiles(folder, pattern, utf8, diskCodePage, problem);
    if (!problem.empty()) {
        diagnostics.Error(kFile, entry.lineNumber, problem);
        return;
    }
    if (files.empty())
        diagnostics.Error(kFile, entry.lineNumber,
                          "no file matches \"" + pattern + "\" in " + folder.string());
    for (const std::string& file : files) {
        const std::string diskRelative = WithBackslashes(file);
        std::string shippedRelative = diskRelative;
        if (utf8)
            shippedRelative = converter.ToCodePage(diskRelative, kFile, entry.lineNumber,
                                                   " (in the name " + diskRelative + ")");
        else
            converter.WarnIfLooksLikeUtf8(diskRelative, kFile, entry.lineNumber);
        out.push_back(FileRecord(entry, diskRelative, shippedRelative, codePage, utf8));
    }
}

bool Matches(const std::vector<std::string>& pattern, size_t p, const std::vector<std::string>& name,
             size_t n) {
    // Backtracking to the last "*" suffices: each star only widens its match.
    size_t starP = std::string::npos, starN = 0;
    while (n < name.size()) {
        if (p < pattern.size() && (pattern[p] == "?" || pattern[p] == name[n])) {
            ++p, ++n;
        } else if (p < pattern.size() && pattern[p] == "*") {
            starP = p++, starN = n;
        } else if (starP != std::string::npos) {
            p = starP + 1, n = ++starN;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == "*") ++p;
    return p == pattern.size();
}

}  // namespace

bool IsFolderEntry(const ProjectDataRecord& record) {
    return !record.IsWebItem() && record.fields.fileName.find_first_of("*?") != std::string::npos;
}

bool MatchesWildcard(const std::string& pattern, const std::string& name, unsigned codePage) {
    return Matches(Characters(pattern, codePage), 0, Characters(name, codePage), 0);
}

std::vector<ProjectDataRecord> ExpandFolderEntries(const std::vector<ProjectDataRecord>& records,
                                                   const fs::path& projectDir, bool utf8,
                                                   SourceConverter& converter, Diagnostics& diagnostics) {
    std::vector<ProjectDataRecord> expanded;
    for (const ProjectDataRecord& record : records) {
        if (IsFolderEntry(record))
            Expand(record, projectDir, utf8, converter, diagnostics, expanded);
        else
            expanded.push_back(record);
    }
    return expanded;
}

namespace {

// The source lines of a UTF-8 data.inf name their files on disk in UTF-8:
// each record keeps its line as written beside the converted one.
void TakeDiskLines(std::vector<ProjectDataRecord>& records, const SourceText& list) {
    if (!list.utf8) return;
    std::vector<std::string> lines;
    for (size_t start = 0; start <= list.written.size();) {
        size_t end = list.written.find('\n', start);
        if (end == std::string::npos) end = list.written.size();
        std::string line = list.written.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
        start = end + 1;
    }
    for (ProjectDataRecord& record : records) record.diskLine = lines.at(record.lineNumber - 1);
}

}  // namespace

std::vector<ProjectDataRecord> ReadProjectRecords(const SourceText& list, const std::filesystem::path& projectDir,
                                                  SourceConverter& converter, Diagnostics& diagnostics) {
    std::vector<ProjectDataRecord> records = ParseProjectDataList(list.shipped, converter.CodePage());
    TakeDiskLines(records, list);
    return ExpandFolderEntries(records, projectDir, list.utf8, converter, diagnostics);
}
