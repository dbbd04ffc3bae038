// The uninstaller's command line: an option and the product code after it.
//
//   cvexec.exe /R <ProductCode>     remove, after the user confirmed
//   cvexec.exe /M <ProductCode>     maintenance: modify, repair or remove
//   cvexec.exe "/S" <ProductCode>   remove silently (also written /S)
//
// The list of programs starts "cvexec.exe /R <code>"; the setup starts the
// program by its path and gives " \"/S\" <code>" as the whole command line,
// so the text may or may not begin with the program's own name. The product
// code comes unquoted and may hold blanks: it is everything after the option.
//
// /LOG=<file> writes the diagnostic log into <file>. It comes before the
// option (quoted when it holds blanks: /LOG="C:\a b.log") or last, after the
// product code, where it runs to the end of the line: a tool that has the
// registered QuietUninstallString appends it. No product code holds a "/",
// so the switch cannot be taken for a part of one.
// Pure rules, no Windows call.
#pragma once

#include <cstddef>
#include <string>

namespace uninstall {

// Longer command lines are refused without being looked at further.
constexpr size_t kMaxCommandLineLength = 2048;
// MAX_PATH less its terminating zero.
constexpr size_t kMaxLogPathLength = 259;
// A product code names a registry key and a folder: both take 255 characters
// at most, and the folder lies under <WindowsFolder>\Installer\.
constexpr size_t kMaxProductCodeLength = 200;

enum class Mode {
    None,      // no option recognised
    Remove,    // "/R"
    Silent,    // "/S" or "\"/S\""
    Maintain,  // "/M"
};

enum class CommandProblem {
    None,
    TooLong,         // the command line is longer than kMaxCommandLineLength
    NoOption,        // no "/R", "/M" or "/S" where the option belongs
    NoProductCode,   // the option is not followed by a product code
    BadProductCode,  // the code cannot name a key and a folder (see IsUsableProductCode)
    BadLogFile,      // /LOG= without a file, or with one longer than kMaxLogPathLength
};

struct Command {
    Mode mode = Mode::None;  // known whenever the option was read, even with a problem after it
    std::string productCode;
    std::string logFile;  // /LOG='s file, without quotes; "" when not given
    CommandProblem problem = CommandProblem::NoOption;
};

// Reads a whole command line (GetCommandLine). Blanks and tabs around the
// option and at the end are ignored; options are compared without regard to
// case. When the text does not begin with an option, its first token (quoted
// or not) is the program's name and the option follows it. A product code
// written in one pair of double quotes loses them. `codePage` is the ANSI
// code page the text is in (its characters are checked one by one).
Command ParseCommandLine(const std::string& commandLine, unsigned codePage);

// Whether `code` can name the product's registry key and its uninstall
// folder: 1 to kMaxProductCodeLength bytes, no control character, none of
// \ / : * ? " < > |, and neither "." nor "..".
bool IsUsableProductCode(const std::string& code, unsigned codePage);

}  // namespace uninstall
