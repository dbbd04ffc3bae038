// setup.exe's command line: the switches that deployment tools, package
// managers and administrators' scripts pass to an installer.
//
//   setup.exe                      the run the project describes
//   setup.exe /S                   unattended, whatever the project says
//   setup.exe /LOG=<file>          writes the diagnostic log to <file>
//   setup.exe /D=<folder>          installs into <folder>: last on the line,
//                                  blanks allowed, quotes optional
//   setup.exe /?                   shows the usage box
//
// Switch names are compared without regard to case. A value with blanks
// other than /D='s is written in double quotes ("/LOG=C:\a b\x.log" or
// /LOG="C:\a b\x.log"). Pure rules, no Windows call.
#pragma once

#include <cstddef>
#include <string>

namespace control::commandline {

// Longer command lines are refused without being looked at further.
constexpr size_t kMaxCommandLineLength = 4096;
// A folder longer than this cannot be created (CreateDirectory leaves room
// for an 8.3 file name within MAX_PATH).
constexpr size_t kMaxFolderLength = 247;
// MAX_PATH less its terminating zero.
constexpr size_t kMaxLogPathLength = 259;

enum class Problem {
    None,
    TooLong,    // the command line is longer than kMaxCommandLineLength
    Unknown,    // a switch (or any other word) this setup does not know
    NoValue,    // /LOG= or /D= without its value
    BadFolder,  // /D= names a folder the destination page would refuse, or one too long
    BadLogPath, // /LOG= names a path longer than kMaxLogPathLength
};

struct Switches {
    bool silent = false;        // /S
    bool usage = false;         // /?
    std::string logFile;        // /LOG=, without its quotes; "" when not given
    std::string installFolder;  // /D=, without a trailing backslash (but a drive's root); "" when not given
    Problem problem = Problem::None;
    // What was refused first: the switch as written; for BadFolder the
    // folder, for BadLogPath the file.
    std::string refused;
};

// Reads a whole command line (GetCommandLine). Its first word is the
// program's name, unless it is a switch (a caller may start the program with
// its arguments alone). Every switch is read even after a refused one, so a
// silent caller is known as such whatever else the line holds.
Switches ParseCommandLine(const std::string& commandLine);

// Whether `folder` may be installed into: what the destination page accepts
// when a folder is typed (a drive, then valid names), at most
// kMaxFolderLength characters.
bool IsUsableInstallFolder(const std::string& folder);

// What the box of a refused command line says: the problem with the usage
// after it; for a folder, the destination page's own message. "" when
// nothing was refused, and for BadLogPath, which is told as any log file that
// cannot be written (LogRefusalText).
std::string RefusalText(const Switches& switches);
// A log file that cannot be written, with the system's text for why.
std::string LogRefusalText(const std::string& logFile, const std::string& systemText);

}  // namespace control::commandline
