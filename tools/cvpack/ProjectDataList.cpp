#include "ProjectDataList.h"

#include <filesystem>
#include <fstream>
#include <sstream>

namespace {

struct Line {
    std::string text;
    int number;
};

// Splits at LF, dropping one CR before each LF. Blank lines at the very end
// are an editor's habit, not records, so they are dropped too.
std::vector<Line> SplitLines(const std::string& text) {
    std::vector<Line> lines;
    size_t start = 0;
    int number = 1;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back({line, number++});
        start = end + 1;
    }
    while (!lines.empty() && lines.back().text.empty()) lines.pop_back();
    return lines;
}

// The engine splits its list at every CR and stops at a NUL, so either one
// inside a line would silently shift all records after it.
void CheckCharacters(const Line& line, const std::string& label) {
    if (line.text.find('\r') != std::string::npos)
        throw ProjectDataError(label, line.number, "carriage return inside the line");
    if (line.text.find('\0') != std::string::npos)
        throw ProjectDataError(label, line.number, "NUL byte inside the line");
}

int32_t ParseNumber(const std::string& field, const char* what, const Line& line,
                    const std::string& label) {
    bool digits = !field.empty() && field.size() <= 10 &&
                  field.find_first_not_of("0123456789") == std::string::npos;
    long long value = digits ? std::stoll(field) : -1;
    if (!digits || value > INT32_MAX)
        throw ProjectDataError(label, line.number,
                               std::string(what) + " \"" + field + "\" is not a decimal number");
    return static_cast<int32_t>(value);
}

// Cuts `rest` at the next `sep`: returns the text before it and keeps the text after it.
std::string TakeField(std::string& rest, char sep, const char* missing, const Line& line,
                      const std::string& label) {
    size_t pos = rest.find(sep);
    if (pos == std::string::npos)
        throw ProjectDataError(label, line.number,
                               std::string("data line lacks ") + missing +
                                   " (expected DESTDIR*FLAGS*OSMASK*NUMBER|FEATURE)");
    std::string field = rest.substr(0, pos);
    rest.erase(0, pos + 1);
    return field;
}

// Separators are found left to right, as the engine does: the first "*" ends
// DESTDIR, the next two end FLAGS and OSMASK, the next "|" ends NUMBER.
void ParseDataLine(const Line& line, ProjectDataRecord& record, const std::string& label) {
    std::string rest = line.text;
    record.destDir = TakeField(rest, '*', "the \"*\" after DESTDIR", line, label);
    std::string flags = TakeField(rest, '*', "the \"*\" after FLAGS", line, label);
    std::string osMask = TakeField(rest, '*', "the \"*\" after OSMASK", line, label);
    std::string number = TakeField(rest, '|', "the \"|\" after NUMBER", line, label);
    record.feature = rest;
    record.flags = ParseNumber(flags, "FLAGS", line, label);
    record.osMask = ParseNumber(osMask, "OSMASK", line, label);
    record.number = ParseNumber(number, "NUMBER", line, label);
}

ProjectDataRecord ParsePair(const Line& source, const Line& data, const std::string& label) {
    ProjectDataRecord record;
    record.sourceLine = source.text;
    record.dataLine = data.text;
    record.lineNumber = source.number;
    record.fileName = FileNameOfSourceLine(source.text);
    if (source.text.empty()) throw ProjectDataError(label, source.number, "empty source line");
    if (!record.IsWebItem() && source.text.find("://") != std::string::npos)
        throw ProjectDataError(label, source.number,
                               "web address without \"http:\" or \"ftp:\"; the setup would "
                               "take it for a local file");
    if (record.fileName.empty() && !record.IsWebItem())
        throw ProjectDataError(label, source.number, "source line has no file name");
    ParseDataLine(data, record, label);
    return record;
}

}  // namespace

bool ProjectDataRecord::IsWebItem() const { return IsWebSource(sourceLine); }

ProjectDataError::ProjectDataError(const std::string& label, int line, const std::string& message)
    : std::runtime_error(label + ":" + std::to_string(line) + ": " + message), m_line(line) {}

std::vector<ProjectDataRecord> ParseProjectDataList(const std::string& text,
                                                    const std::string& label) {
    std::vector<Line> lines = SplitLines(text);
    for (const Line& line : lines) CheckCharacters(line, label);
    if (lines.size() % 2 != 0)
        throw ProjectDataError(label, lines.back().number,
                               "source line without a data line (lines come in pairs)");
    std::vector<ProjectDataRecord> records;
    for (size_t i = 0; i < lines.size(); i += 2)
        records.push_back(ParsePair(lines[i], lines[i + 1], label));
    return records;
}

std::vector<ProjectDataRecord> ReadProjectDataList(const std::string& path,
                                                   const std::string& label) {
    std::error_code ec;
    std::ifstream in(path, std::ios::binary);
    if (!std::filesystem::is_regular_file(path, ec) || !in)
        throw std::runtime_error(label + ": cannot read " + path);
    std::ostringstream text;
    text << in.rdbuf();
    if (in.bad()) throw std::runtime_error(label + ": cannot read " + path);
    return ParseProjectDataList(text.str(), label);
}

std::string FormatProjectDataList(const std::vector<ProjectDataRecord>& records) {
    std::string text;
    for (const ProjectDataRecord& record : records)
        text += record.sourceLine + "\r\n" + record.dataLine + "\r\n";
    return text;
}

std::string StoredPayloadName(size_t index, const std::string& fileName) {
    return "F" + std::to_string(index) + "_" + fileName;
}

std::string FileNameOfSourceLine(const std::string& sourceLine) {
    size_t pos = sourceLine.find_last_of("\\/:");
    return pos == std::string::npos ? sourceLine : sourceLine.substr(pos + 1);
}

bool IsWebSource(const std::string& sourceLine) {
    return sourceLine.find("http:") != std::string::npos ||
           sourceLine.find("ftp:") != std::string::npos;
}
