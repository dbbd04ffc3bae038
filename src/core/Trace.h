// The diagnostic log: one plain-text line per start-up step, value read,
// check, page, installation action and record, failure (with the failing call
// and the system's text) and the exit code. The file is named by the command
// line (/LOG=<file>) or, in a process that is not elevated, by the
// environment variable CVSETUP_TRACE; either is appended to (made when
// missing). Without either nothing is written anywhere. Lines are
// "TEXT" or "NAME=VALUE" ending in CR LF; the names tests read are in
// TraceNames.h. The log names files and values, never a project file's
// content.
#pragma once

#include <string>

namespace core::trace {

// Opens the log before its first line: `logFile` is the command line's file;
// "" takes the file CVSETUP_TRACE names, if any, unless the process is
// elevated. The log's full path is then left in CVSETUP_TRACE for programs
// that are not elevated. Returns 0, or the system error code when `logFile`
// cannot be written. Only the first call counts; a line written before it
// opens CVSETUP_TRACE's file.
unsigned long Start(const std::string& logFile);
// The open log's full path, which this system's programs hand to the ones
// they start (/LOG=); "" when no log is written.
std::string LogPath();

bool Enabled();
void Line(const std::string& text);
void Value(const char* name, const std::string& value);
// "failed=CALL: SYSTEM TEXT (CODE)" for a Win32 call that failed with the
// error code `error` (GetLastError right after the call).
void Failure(const char* call, unsigned long error);
// The same, naming what the call worked on: "failed=CALL SUBJECT: TEXT (CODE)".
void Failure(const char* call, const std::string& subject, unsigned long error);
// The system's text for an error code, without its line end.
std::string SystemErrorText(unsigned long error);

}  // namespace core::trace
