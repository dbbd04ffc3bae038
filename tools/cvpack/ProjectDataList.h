// Reader of a project's plain file list (data.inf) as the author writes it:
// pairs of lines, a source line and a data line
// "DESTDIR*FLAGS*OSMASK*NUMBER|FEATURE". The records are read by the setup's
// own rules (core/FileList.h); this reader adds what authoring needs: lines
// may end in LF or CR LF, and every mistake the setup would misread or read
// without complaint is reported with its line.
#pragma once

#include <stdexcept>
#include <string>
#include <vector>

#include "core/FileList.h"

struct ProjectDataRecord {
    // The record as the setup will read it: its texts cut to
    // core::filelist::kMaxFieldLength characters.
    core::filelist::FileRecord fields;
    std::string sourceLine;  // as the setup reads it: a path or a web address, never cut
    // The source line as it names the file on the building machine: the same
    // but when data.inf is UTF-8 and the setup's texts are converted.
    std::string diskLine;
    std::string dataLine;    // as written, never cut
    int lineNumber = 0;      // 1-based line of the source line

    // Web items are downloaded at install time and never travel in the cabinet;
    // judged on the source line as written.
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

// Parses the text of a list written in `codePage` (file names are split by
// its characters, core/CodePage.h); label names the file in error messages.
// Data lines need all four separators, and FLAGS, OSMASK and NUMBER plain
// decimal digits within 32 bits; NUMBER may be empty (AssignRecordNumbers).
std::vector<ProjectDataRecord> ParseProjectDataList(const std::string& text, unsigned codePage,
                                                    const std::string& label = "data.inf");

// Reads and parses a list file; an unreadable file throws std::runtime_error.
std::vector<ProjectDataRecord> ReadProjectDataList(const std::string& path, unsigned codePage,
                                                   const std::string& label = "data.inf");

// A data line made of its five field texts.
std::string JoinDataLine(const core::filelist::DataFields& fields);

// Gives every record whose NUMBER was left empty its 1-based position in the
// list, the number authors write by hand; numbers written stay.
void AssignRecordNumbers(std::vector<ProjectDataRecord>& records);

// The list as the engine reads it: the lines as written, every one (the last
// included) ended by CR LF.
std::string FormatProjectDataList(const std::vector<ProjectDataRecord>& records);
