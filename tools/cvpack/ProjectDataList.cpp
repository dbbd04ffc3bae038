#include "ProjectDataList.h"

#include <cstdint>
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

// For plain decimal digits within 32 bits the setup's lenient reading (sign,
// leading digits, saturation) gives exactly the value the author wrote.
void CheckNumber(const std::string& field, const char* what, const Line& line,
                 const std::string& label) {
    bool digits = !field.empty() && field.size() <= 10 &&
                  field.find_first_not_of("0123456789") == std::string::npos;
    if (!digits || std::stoll(field) > INT32_MAX)
        throw ProjectDataError(label, line.number,
                               std::string(what) + " \"" + field + "\" is not a decimal number");
}

// The setup takes a missing field as empty and a missing number as 0, so a
// separator left out would go unnoticed until install time.
void CheckDataLine(const Line& line, const std::string& label) {
    static const char* const kMissing[] = {"the \"*\" after DESTDIR", "the \"*\" after FLAGS",
                                           "the \"*\" after OSMASK", "the \"|\" after NUMBER"};
    const core::filelist::DataFields fields = core::filelist::SplitDataLine(line.text);
    if (fields.separators < 4)
        throw ProjectDataError(label, line.number,
                               std::string("data line lacks ") + kMissing[fields.separators] +
                                   " (expected DESTDIR*FLAGS*OSMASK*NUMBER|FEATURE)");
    CheckNumber(fields.flags, "FLAGS", line, label);
    CheckNumber(fields.systemMask, "OSMASK", line, label);
    if (!fields.number.empty()) CheckNumber(fields.number, "NUMBER", line, label);
}

void CheckSourceLine(const ProjectDataRecord& record, const Line& line, const std::string& label) {
    if (line.text.empty()) throw ProjectDataError(label, line.number, "empty source line");
    if (!record.IsWebItem() && line.text.find("://") != std::string::npos)
        throw ProjectDataError(label, line.number,
                               "web address without \"http:\", \"https:\" or \"ftp:\"; the setup would "
                               "take it for a local file");
    if (record.fields.fileName.empty() && !record.IsWebItem())
        throw ProjectDataError(label, line.number, "source line has no file name");
}

ProjectDataRecord ParsePair(const Line& source, const Line& data, unsigned codePage,
                            const std::string& label) {
    ProjectDataRecord record;
    record.fields = core::filelist::ParseRecord(source.text, data.text, codePage);
    record.sourceLine = source.text;
    record.diskLine = source.text;
    record.dataLine = data.text;
    record.lineNumber = source.number;
    CheckSourceLine(record, source, label);
    CheckDataLine(data, label);
    return record;
}

}  // namespace

bool ProjectDataRecord::IsWebItem() const { return core::filelist::IsWebItem(sourceLine); }

ProjectDataError::ProjectDataError(const std::string& label, int line, const std::string& message)
    : std::runtime_error(label + ":" + std::to_string(line) + ": " + message), m_line(line) {}

std::vector<ProjectDataRecord> ParseProjectDataList(const std::string& text, unsigned codePage,
                                                    const std::string& label) {
    std::vector<Line> lines = SplitLines(text);
    for (const Line& line : lines) CheckCharacters(line, label);
    if (lines.size() % 2 != 0)
        throw ProjectDataError(label, lines.back().number,
                               "source line without a data line (lines come in pairs)");
    std::vector<ProjectDataRecord> records;
    for (size_t i = 0; i < lines.size(); i += 2)
        records.push_back(ParsePair(lines[i], lines[i + 1], codePage, label));
    return records;
}

std::vector<ProjectDataRecord> ReadProjectDataList(const std::string& path, unsigned codePage,
                                                   const std::string& label) {
    std::error_code ec;
    std::ifstream in(path, std::ios::binary);
    if (!std::filesystem::is_regular_file(path, ec) || !in)
        throw std::runtime_error(label + ": cannot read " + path);
    std::ostringstream text;
    text << in.rdbuf();
    if (in.bad()) throw std::runtime_error(label + ": cannot read " + path);
    return ParseProjectDataList(text.str(), codePage, label);
}

std::string JoinDataLine(const core::filelist::DataFields& fields) {
    return fields.destDir + "*" + fields.flags + "*" + fields.systemMask + "*" + fields.number + "|" +
           fields.feature;
}

void AssignRecordNumbers(std::vector<ProjectDataRecord>& records) {
    for (size_t k = 0; k < records.size(); ++k) {
        core::filelist::DataFields fields = core::filelist::SplitDataLine(records[k].dataLine);
        if (!fields.number.empty()) continue;
        fields.number = std::to_string(k + 1);
        records[k].dataLine = JoinDataLine(fields);
        records[k].fields.number = static_cast<int32_t>(k + 1);
    }
}

std::string FormatProjectDataList(const std::vector<ProjectDataRecord>& records) {
    std::string text;
    for (const ProjectDataRecord& record : records)
        text += record.sourceLine + "\r\n" + record.dataLine + "\r\n";
    return text;
}
