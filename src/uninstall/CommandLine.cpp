#include "uninstall/CommandLine.h"

#include <cstring>

#include "core/CodePage.h"

namespace uninstall {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

size_t SkipBlanks(const std::string& text, size_t at) {
    while (at < text.size() && IsBlank(text[at])) ++at;
    return at;
}

bool EndsToken(const std::string& text, size_t at) { return at == text.size() || IsBlank(text[at]); }

char Upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

// The option at `at` and the position after it; Mode::None when there is none.
Mode ReadOption(const std::string& text, size_t at, size_t& after) {
    // The silent option comes quoted from the setup, which wrote it so.
    if (text.compare(at, 4, "\"/S\"") == 0 || text.compare(at, 4, "\"/s\"") == 0) {
        after = at + 4;
        return EndsToken(text, after) ? Mode::Silent : Mode::None;
    }
    if (at + 1 >= text.size() || text[at] != '/') return Mode::None;
    after = at + 2;
    if (!EndsToken(text, after)) return Mode::None;
    switch (Upper(text[at + 1])) {
        case 'R': return Mode::Remove;
        case 'S': return Mode::Silent;
        case 'M': return Mode::Maintain;
        default: return Mode::None;
    }
}

// The position after the program's name: a quoted name runs to its closing
// quote, an unquoted one to the first blank.
size_t SkipProgramName(const std::string& text, size_t at) {
    if (at < text.size() && text[at] == '"') {
        const size_t close = text.find('"', at + 1);
        return close == std::string::npos ? text.size() : close + 1;
    }
    while (at < text.size() && !IsBlank(text[at])) ++at;
    return at;
}

const char kLogSwitch[] = "/LOG=";
constexpr size_t kLogSwitchLength = sizeof kLogSwitch - 1;

bool IsLogSwitchAt(const std::string& text, size_t at) {
    if (at + kLogSwitchLength > text.size()) return false;
    for (size_t i = 0; i < kLogSwitchLength; ++i)
        if (Upper(text[at + i]) != kLogSwitch[i]) return false;
    return true;
}

// The file of a /LOG= switch from its text without the switch's name: its
// quotes dropped, blanks at its end too.
std::string LogFileOf(const std::string& value) {
    std::string file;
    for (char c : value)
        if (c != '"') file += c;
    while (!file.empty() && IsBlank(file.back())) file.pop_back();
    return file;
}

// Records a /LOG= switch's file; false when it has none or too long a one.
bool TakeLogFile(const std::string& value, Command& command) {
    command.logFile = LogFileOf(value);
    if (!command.logFile.empty() && command.logFile.size() <= kMaxLogPathLength) return true;
    command.logFile.clear();
    return false;
}

// Reads the /LOG= switches at `at` (each written /LOG=FILE, /LOG="FILE" or
// "/LOG=FILE") and returns the position after them; `badLog` is set when one
// names no usable file.
size_t ReadLogSwitches(const std::string& text, size_t at, Command& command, bool& badLog) {
    for (;;) {
        const bool quotedSwitch = at < text.size() && text[at] == '"';
        if (!IsLogSwitchAt(text, quotedSwitch ? at + 1 : at)) return at;
        // The word runs to the first blank outside quotes.
        size_t end = at;
        for (bool quoted = false; end < text.size() && (quoted || !IsBlank(text[end])); ++end)
            if (text[end] == '"') quoted = !quoted;
        const size_t valueStart = at + (quotedSwitch ? 1 : 0) + kLogSwitchLength;
        if (!TakeLogFile(text.substr(valueStart, end - valueStart), command)) badLog = true;
        at = SkipBlanks(text, end);
    }
}

// Where a /LOG= switch in the text after the option begins (its quote, when
// the whole switch is quoted); npos when there is none.
size_t TrailingLogSwitch(const std::string& text) {
    for (size_t at = 0; at < text.size(); ++at) {
        if (!IsLogSwitchAt(text, at)) continue;
        const size_t start = at > 0 && text[at - 1] == '"' ? at - 1 : at;
        if (start == 0 || IsBlank(text[start - 1])) return start;
    }
    return std::string::npos;
}

std::string ProductCodeAt(const std::string& text, size_t at) {
    size_t end = text.size();
    while (end > at && IsBlank(text[end - 1])) --end;
    std::string code = text.substr(at, end - at);
    if (code.size() >= 2 && code.front() == '"' && code.back() == '"') code = code.substr(1, code.size() - 2);
    return code;
}

}  // namespace

Command ParseCommandLine(const std::string& commandLine, unsigned codePage) {
    Command command;
    if (commandLine.size() > kMaxCommandLineLength) {
        command.problem = CommandProblem::TooLong;
        return command;
    }
    bool badLog = false;
    size_t at = ReadLogSwitches(commandLine, SkipBlanks(commandLine, 0), command, badLog);
    size_t after = 0;
    command.mode = ReadOption(commandLine, at, after);
    if (command.mode == Mode::None) {
        at = SkipBlanks(commandLine, SkipProgramName(commandLine, at));
        at = ReadLogSwitches(commandLine, at, command, badLog);
        command.mode = ReadOption(commandLine, at, after);
    }
    if (command.mode == Mode::None) {
        command.problem = CommandProblem::NoOption;
        return command;
    }
    std::string rest = commandLine.substr(SkipBlanks(commandLine, after));
    const size_t log = TrailingLogSwitch(rest);
    if (log != std::string::npos) {
        const size_t valueStart = log + (rest[log] == '"' ? 1 : 0) + kLogSwitchLength;
        if (!TakeLogFile(rest.substr(valueStart), command)) badLog = true;
        rest.erase(log);
    }
    command.productCode = ProductCodeAt(rest, 0);
    if (command.productCode.empty()) command.problem = CommandProblem::NoProductCode;
    else if (!IsUsableProductCode(command.productCode, codePage)) command.problem = CommandProblem::BadProductCode;
    else if (badLog) command.problem = CommandProblem::BadLogFile;
    else command.problem = CommandProblem::None;
    return command;
}

bool IsUsableProductCode(const std::string& code, unsigned codePage) {
    if (code.empty() || code.size() > kMaxProductCodeLength || code == "." || code == "..") return false;
    for (size_t at = 0; at < code.size();) {
        const size_t length = core::codepage::CharacterLength(code, at, codePage);
        const unsigned char c = static_cast<unsigned char>(code[at]);
        if (length == 1 && (c < 0x20 || std::strchr("\\/:*?\"<>|", c))) return false;
        at += length;
    }
    return true;
}

}  // namespace uninstall
