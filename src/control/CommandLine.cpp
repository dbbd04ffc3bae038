#include "control/CommandLine.h"

#include "core/Messages.h"
#include "pages/PageRules.h"
#include "util/Text.h"

namespace control::commandline {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// One word of the line: up to the next blank outside double quotes, the
// quotes themselves dropped. `start` is where it begins in the line.
struct Word {
    std::string text;
    size_t start = 0;
};

// The word at or after `at`, moving `at` past it; false at the end of the line.
bool NextWord(const std::string& line, size_t& at, Word& word) {
    while (at < line.size() && IsBlank(line[at])) ++at;
    if (at == line.size()) return false;
    word = Word();
    word.start = at;
    bool quoted = false;
    for (; at < line.size() && (quoted || !IsBlank(line[at])); ++at) {
        if (line[at] == '"') quoted = !quoted;
        else word.text += line[at];
    }
    return true;
}

bool IsSwitch(const std::string& word, const char* name) { return util::text::EqualsIgnoringAsciiCase(word, name); }

// The value of a "NAME=value" switch, or false when the word is another.
bool ValueOf(const std::string& word, const std::string& prefix, std::string& value) {
    if (word.size() < prefix.size() || !util::text::EqualsIgnoringAsciiCase(word.substr(0, prefix.size()), prefix))
        return false;
    value = word.substr(prefix.size());
    return true;
}

// /D='s folder: the rest of the line from its word on, blanks and all, with
// no quotes (no folder name holds one) and no blanks at its end.
std::string FolderFrom(const std::string& line, size_t start) {
    std::string rest;
    for (size_t at = start; at < line.size(); ++at)
        if (line[at] != '"') rest += line[at];
    while (!rest.empty() && IsBlank(rest.back())) rest.pop_back();
    rest = rest.substr(3);  // "/D="
    // "C:\Folder\" names the same folder as "C:\Folder"; a drive's root keeps its backslash.
    if (rest.size() > 3 && rest.back() == '\\') rest.pop_back();
    return rest;
}

void Refuse(Switches& switches, Problem problem, const std::string& word) {
    if (switches.problem != Problem::None) return;
    switches.problem = problem;
    switches.refused = word;
}

}  // namespace

Switches ParseCommandLine(const std::string& commandLine) {
    Switches switches;
    // Refused, but still read: a silent caller must not get a box.
    if (commandLine.size() > kMaxCommandLineLength) switches.problem = Problem::TooLong;
    size_t at = 0;
    Word word;
    bool first = true;
    while (NextWord(commandLine, at, word)) {
        const bool programName = first && (word.text.empty() || word.text[0] != '/');
        first = false;
        if (programName) continue;
        std::string value;
        if (IsSwitch(word.text, "/S")) {
            switches.silent = true;
        } else if (IsSwitch(word.text, "/?")) {
            switches.usage = true;
        } else if (ValueOf(word.text, "/LOG=", value)) {
            if (value.empty()) Refuse(switches, Problem::NoValue, word.text);
            else if (value.size() > kMaxLogPathLength) Refuse(switches, Problem::BadLogPath, value);
            else switches.logFile = value;
        } else if (ValueOf(word.text, "/D=", value)) {
            // The last switch: everything after it is the folder's.
            const std::string folder = FolderFrom(commandLine, word.start);
            if (folder.empty()) Refuse(switches, Problem::NoValue, word.text);
            else if (!IsUsableInstallFolder(folder)) Refuse(switches, Problem::BadFolder, folder);
            else switches.installFolder = folder;
            // Still a silent caller's line: /S anywhere means no window, even
            // where the folder takes it (such a folder is then refused).
            for (Word after; NextWord(commandLine, at, after);)
                if (IsSwitch(after.text, "/S")) switches.silent = true;
            break;
        } else {
            Refuse(switches, Problem::Unknown, word.text);
        }
    }
    return switches;
}

bool IsUsableInstallFolder(const std::string& folder) {
    return folder.size() <= kMaxFolderLength && pages::IsValidFolderPath(folder);
}

std::string RefusalText(const Switches& switches) {
    using core::EnglishText;
    using core::MessageId;
    const std::string usage = std::string("\r\n\r\n") + EnglishText(MessageId::SetupUsage);
    switch (switches.problem) {
        case Problem::None:
        case Problem::BadLogPath:
            return std::string();
        case Problem::TooLong:
            return EnglishText(MessageId::CommandLineTooLong) + usage;
        case Problem::Unknown:
            return core::FormatText(EnglishText(MessageId::SwitchUnknown), {switches.refused}) + usage;
        case Problem::NoValue:
            return core::FormatText(EnglishText(MessageId::SwitchNoValue), {switches.refused}) + usage;
        case Problem::BadFolder:
            return pages::InvalidFolderMessage(switches.refused);
    }
    return std::string();
}

std::string LogRefusalText(const std::string& logFile, const std::string& systemText) {
    return core::FormatText(core::EnglishText(core::MessageId::LogNotWritten), {logFile, systemText});
}

}  // namespace control::commandline
