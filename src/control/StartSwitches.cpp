#include "control/StartSwitches.h"

#include <windows.h>

#include "core/ExitCodes.h"
#include "core/Messages.h"
#include "core/Trace.h"
#include "core/TraceNames.h"

namespace control {

namespace {

using commandline::Problem;

// The problem a box text tells, without the usage after it, on one line.
std::string ProblemLine(const std::string& text) {
    std::string line;
    for (char c : text.substr(0, text.find("\r\n\r\n"))) {
        const bool lineEnd = c == '\r' || c == '\n';
        if (!lineEnd) line += c;
        else if (!line.empty() && line.back() != ' ') line += ' ';
    }
    return line;
}

// The line cannot be run: the box says why, unless nobody is there to read it.
int Refuse(const std::string& text, bool silent) {
    core::trace::Value(core::tracenames::kCommandLineRefused, ProblemLine(text));
    if (!silent) MessageBoxA(nullptr, text.c_str(), core::kMessageCaption, MB_OK | MB_ICONEXCLAMATION);
    return core::kExitBadCommandLine;
}

}  // namespace

std::optional<int> ApplySwitches(const std::string& commandLine, const commandline::Switches& switches) {
    // A path too long for the log is not tried: CVSETUP_TRACE's log, if
    // any, records the refusal instead.
    const bool logPathTooLong = switches.problem == Problem::BadLogPath;
    const unsigned long logError =
        logPathTooLong ? ERROR_FILENAME_EXCED_RANGE : core::trace::Start(switches.logFile);
    core::trace::Value(core::tracenames::kCommandLine, commandLine);
    if (logError != 0) {
        const std::string file = logPathTooLong ? switches.refused : switches.logFile;
        return Refuse(commandline::LogRefusalText(file, core::trace::SystemErrorText(logError)), switches.silent);
    }
    if (switches.problem != Problem::None) return Refuse(commandline::RefusalText(switches), switches.silent);
    if (switches.usage) {
        MessageBoxA(nullptr, core::EnglishText(core::MessageId::SetupUsage), core::kMessageCaption,
                    MB_OK | MB_ICONINFORMATION);
        return core::kExitInstalled;  // the box was all that was asked for
    }
    return std::nullopt;
}

int LogExitCode(int code) {
    core::trace::Value(core::tracenames::kExitCode, std::to_string(code));
    return code;
}

}  // namespace control
