// Reader of a project's plain file list (data.inf) as the author writes it:
// pairs of lines, a source line and a data line
// "DESTDIR*FLAGS*OSMASK*NUMBER|FEATURE". Lines may end in LF or CR LF.
#pragma once

#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

struct ProjectDataRecord {
    std::string sourceLine;  // as written: a path or a web address
    std::string dataLine;    // as written
    std::string fileName;    // text after the last backslash, slash or colon of the source line
    std::string destDir;
    int32_t flags = 0;
    int32_t osMask = 0;
    int32_t number = 0;
    std::string feature;
    int lineNumber = 0;  // 1-based line of the source line

    // Web items are downloaded at install time and never travel in the cabinet.
    bool IsWebItem() const;
};

// A malformed list; what() reads "LABEL:LINE: message".
class ProjectDataError : public std::runtime_error {
public:
    ProjectDataError(const std::string& label, int line, const std::string& message);
    int Line() const { return m_line; }

private:
    int m_line;
};

// Parses the text of a list; label names the file in error messages.
std::vector<ProjectDataRecord> ParseProjectDataList(const std::string& text,
                                                    const std::string& label = "data.inf");

// Reads and parses a list file; an unreadable file throws std::runtime_error.
std::vector<ProjectDataRecord> ReadProjectDataList(const std::string& path,
                                                   const std::string& label = "data.inf");

// The list as the engine reads it: every line, the last included, ends in CR LF.
std::string FormatProjectDataList(const std::vector<ProjectDataRecord>& records);

// Name under which the payload file of record `index` travels: "F<index>_<name>".
std::string StoredPayloadName(size_t index, const std::string& fileName);

// Text after the last backslash, slash or colon.
std::string FileNameOfSourceLine(const std::string& sourceLine);

bool IsWebSource(const std::string& sourceLine);
