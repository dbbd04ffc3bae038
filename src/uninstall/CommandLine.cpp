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
    size_t at = SkipBlanks(commandLine, 0);
    size_t after = 0;
    command.mode = ReadOption(commandLine, at, after);
    if (command.mode == Mode::None) {
        at = SkipBlanks(commandLine, SkipProgramName(commandLine, at));
        command.mode = ReadOption(commandLine, at, after);
    }
    if (command.mode == Mode::None) {
        command.problem = CommandProblem::NoOption;
        return command;
    }
    command.productCode = ProductCodeAt(commandLine, SkipBlanks(commandLine, after));
    if (command.productCode.empty()) command.problem = CommandProblem::NoProductCode;
    else if (!IsUsableProductCode(command.productCode, codePage)) command.problem = CommandProblem::BadProductCode;
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
