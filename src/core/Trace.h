// Optional trace of the start-up steps for test drivers and the demo script:
// when the environment variable CVSETUP_TRACE names a file, each line is
// appended to it. Without the variable nothing is written anywhere.
#pragma once

#include <string>

namespace core::trace {

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
