// The names of the trace lines that test drivers, the demo and the benchmark
// read (see core/Trace.h). They are a contract: the program writes them
// through these constants, and the shell scripts read the same constants out
// of this file (tests/lib.sh: trace_name), so a renamed line cannot leave a
// waiting test behind. Start-up steps are lines "step N: ..." in the order the
// steps run; a value line is "NAME=VALUE".
#pragma once

namespace core::tracenames {

// The command line (control/CommandLine.h) and how the run ended.
constexpr char kCommandLine[] = "command line";                    // value: the whole line as given
constexpr char kCommandLineRefused[] = "command line refused";     // value: what was refused
constexpr char kFolderFromCommandLine[] = "installation folder from the command line";
constexpr char kExitCode[] = "exit code";                          // the setup's, as it ends
constexpr char kLaunched[] = "launched";                           // value: a file Finish opened
constexpr char kAddOnFailed[] = "add-on failed";                   // value: "PATH: exit code N" or "PATH: not started"
// A single-file setup: where its package was unpacked, why it could not be, its removal.
constexpr char kPackageUnpacked[] = "package unpacked";           // value: the folder (the source folder of the run)
constexpr char kPackageDamaged[] = "package damaged";             // value: what is wrong with the program's own file
constexpr char kPackageNotUnpacked[] = "package not unpacked";    // value: "FOLDER: why"
constexpr char kPackageNotRunningFile[] = "package file not the running one";  // value: the program's name
constexpr char kPackageRemoved[] = "package folder removed";      // value: the folder
// Step lines and values of the start-up.
constexpr char kWorkingFolder[] = "step 6: working folder";        // value: the working folder
constexpr char kOperatingSystem[] = "step 9: operating system";    // value: the system's name and version, "NET (6.1.7601)"
constexpr char kPageListStep[] = "step 16: page list";             // the checks passed
constexpr char kDriverDone[] = "step 26: driver done";             // the wizard is up
// Values read at start-up.
constexpr char kSourceFolder[] = "source folder";
constexpr char kProgramFilesFolder[] = "program files folder";
constexpr char kDocumentsFolder[] = "documents folder";
constexpr char kDiskImage[] = "disk image";                        // "255" or "0"
constexpr char kInstallScope[] = "installation scope";             // "All-Users" or "Per-User", at start and at each change
constexpr char kProductName[] = "product name";
constexpr char kPublisher[] = "publisher";
constexpr char kProductVersion[] = "product version";
constexpr char kProductCode[] = "product code";
constexpr char kCompanyName[] = "company name";
constexpr char kLanguage[] = "language";
constexpr char kLanguageApplied[] = "language applied";             // value: the language's name
constexpr char kUnattended[] = "unattended";                       // "255" or "0"
constexpr char kInstallFolder[] = "installation folder";
constexpr char kInstallFolderAfterChecks[] = "installation folder after checks";
// Web items and web texts (download/): why a transfer failed, where it was sent on.
constexpr char kDownloadFailed[] = "download failed";              // value: "ADDRESS: status N, error N: REASON" (either may be missing)
constexpr char kDownloadRedirect[] = "download redirect";          // value: "FROM -> TO"
// The splash screen.
constexpr char kSplashPicture[] = "splash picture";                // "WxH, N frames", "WxH, still" or "none"
constexpr char kSplashSound[] = "splash sound";                    // value: the sound file, as it starts
constexpr char kSplashClosed[] = "splash closed";                  // value: "timer N"
// The background window and the billboards.
constexpr char kBackground[] = "background";                       // value: the picture's path, or "none"; "off" when not shown
constexpr char kBillboards[] = "billboards";                       // value: how many the slide show was started with
constexpr char kBillboardShown[] = "billboard shown";              // value: index, a blank, the picture loaded or "kept"
constexpr char kBillboardsEnded[] = "billboards ended";            // the last billboard's time is over
// The wizard and the installation.
constexpr char kPage[] = "page";                                   // value: the layout shown
constexpr char kHandOverFolder[] = "hand-over: installation folder";
constexpr char kInstallAction[] = "install action";                 // value: the action's name, as it starts
constexpr char kLogRecord[] = "uninstall log";                      // value: each record "KEY=VALUE" as it is logged
constexpr char kUndeclaredRecord[] = "undeclared log record";       // value: "ACTION KEY", a kind the action does not declare
constexpr char kRollback[] = "rollback";                            // a run that did not complete is undone: "N records"
constexpr char kRecovery[] = "interrupted run found";                // value: its log; a rollback follows
constexpr char kRollbackDone[] = "rollback done";                   // "complete" or "something left over"
// The uninstaller.
constexpr char kUninstallProductCode[] = "uninstall product code";  // the code as read from the command line
constexpr char kUninstallOutcome[] = "uninstall";                   // why nothing was removed
constexpr char kUninstallExitCode[] = "uninstall exit code";        // as the uninstaller ends
constexpr char kRemovalStatus[] = "removal status";                 // each status line of the removal
constexpr char kLeftOver[] = "left over";                           // something that stays
constexpr char kAtRestart[] = "at restart";                         // something that goes at the next restart

}  // namespace core::tracenames
