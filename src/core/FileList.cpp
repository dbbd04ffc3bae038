#include "core/FileList.h"

#include <algorithm>
#include <cstring>
#include <unordered_set>
#include <utility>

#include "core/CodePage.h"
#include "core/SettingsRules.h"

namespace core::filelist {

namespace {

std::string Cut(std::string s) {
    if (s.size() > kMaxFieldLength) s.resize(kMaxFieldLength);
    return s;
}

int32_t Number(const std::string& field) { return core::settings::ParseNumber(field.c_str()); }

// Text from `pos` up to the next `sep`. A found separator is counted and
// `pos` moves past it; without one the field runs to the end of the line and
// `pos` becomes npos, which leaves every later field empty.
std::string TakeField(const std::string& line, size_t& pos, char sep, int& found) {
    if (pos == std::string::npos) return std::string();
    size_t hit = line.find(sep, pos);
    if (hit == std::string::npos) {
        std::string field = line.substr(pos);
        pos = std::string::npos;
        return field;
    }
    std::string field = line.substr(pos, hit - pos);
    pos = hit + 1;
    ++found;
    return field;
}

}  // namespace

std::vector<std::string> SplitLines(const std::string& text) {
    const size_t end = std::min(text.size(), std::strlen(text.c_str()));
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < end) {
        size_t cr = text.find('\r', start);
        if (cr == std::string::npos || cr >= end) break;
        lines.push_back(text.substr(start, cr - start));
        start = cr + 2;  // the CR and the character after it
    }
    return lines;
}

std::string FileNameOf(const std::string& path, unsigned codePage) {
    const size_t cut = codepage::FindLastOf(path, "\\/:", codePage);
    return cut == std::string::npos ? path : path.substr(cut + 1);
}

bool IsWebItem(const std::string& sourceLine) {
    for (const char* scheme : {"http:", "https:", "ftp:"})
        if (sourceLine.find(scheme) != std::string::npos) return true;
    return false;
}

DataFields SplitDataLine(const std::string& dataLine) {
    DataFields f;
    size_t pos = 0;
    f.destDir = TakeField(dataLine, pos, '*', f.separators);
    f.flags = TakeField(dataLine, pos, '*', f.separators);
    f.systemMask = TakeField(dataLine, pos, '*', f.separators);
    f.number = TakeField(dataLine, pos, '|', f.separators);
    if (pos != std::string::npos) f.feature = dataLine.substr(pos);
    return f;
}

FileRecord ParseRecord(const std::string& sourceLine, const std::string& dataLine, unsigned codePage) {
    DataFields f = SplitDataLine(dataLine);
    FileRecord r;
    r.fileName = Cut(FileNameOf(sourceLine, codePage));
    r.sourceLine = Cut(sourceLine);
    r.destDir = Cut(std::move(f.destDir));
    r.flags = Number(f.flags);
    r.systemMask = Number(f.systemMask);
    r.number = Number(f.number);
    r.feature = Cut(std::move(f.feature));
    return r;
}

std::vector<FileRecord> ParseFileList(const std::string& text, unsigned codePage) {
    std::vector<std::string> lines = SplitLines(text);
    std::vector<FileRecord> records;
    records.reserve(lines.size() / 2);
    for (size_t i = 0; i + 1 < lines.size(); i += 2)
        records.push_back(ParseRecord(lines[i], lines[i + 1], codePage));
    return records;
}

std::vector<std::string> DistinctDirectories(const std::vector<FileRecord>& records) {
    std::vector<std::string> dirs;
    std::unordered_set<std::string> seen;
    for (const FileRecord& r : records) {
        std::string dir = r.destDir;
        if (!dir.empty() && dir.back() == '\\') dir.pop_back();
        if (dir.empty()) continue;
        if (seen.insert(dir).second) dirs.push_back(dir);
    }
    return dirs;
}

std::string StoredName(size_t index, const std::string& fileName) {
    return "F" + std::to_string(index) + "_" + fileName;
}

std::string StoredPath(const std::string& payloadFolder, size_t index, const std::string& fileName) {
    return payloadFolder + StoredName(index, fileName);
}

}  // namespace core::filelist
