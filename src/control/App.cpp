// Application start: the command line's switches and the diagnostic log,
// a single file's package unpacked, sockets and rich-edit support, process
// flags, the main frame, and the message loop that runs until the setup ends.
#include <windows.h>
#include <winsock2.h>
#include <commctrl.h>
#include <ole2.h>

#include <optional>
#include <string>

#include "control/CommandLine.h"
#include "control/MainFrame.h"
#include "control/SingleFilePackage.h"
#include "control/StartSwitches.h"
#include "core/ExitCodes.h"
#include "core/MessageWait.h"
#include "core/SystemLibraries.h"
#include "skin/SkinnedPage.h"
#include "core/Messages.h"

namespace {

using core::EnglishText;
using core::kMessageCaption;
using core::MessageId;

bool StartSockets() {
    WSADATA data;
    return WSAStartup(MAKEWORD(1, 1), &data) == 0;
}

// The setup itself, from the project a single file's `package` unpacked or,
// for a folder package, in the folder it finds; its exit code.
int RunSetup(HINSTANCE instance, const control::commandline::Switches& switches,
             const control::SingleFilePackage& package) {
    if (!StartSockets()) {
        if (!switches.silent) MessageBoxA(nullptr, EnglishText(MessageId::SocketsFailed), kMessageCaption, MB_OK);
        return core::kExitFailed;
    }
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_WIN95_CLASSES | ICC_PROGRESS_CLASS};
    InitCommonControlsEx(&controls);
    OleInitialize(nullptr);
    if (!core::LoadSystemLibrary("RICHED32.DLL") && !switches.silent)
        MessageBoxA(nullptr, EnglishText(MessageId::RichEditMissing), kMessageCaption,
                    MB_OK | MB_ICONEXCLAMATION);
    core::CurrentRun().Reset();

    // Every message loop of the program lets the pages see keys first.
    core::SetMessageFilter(&skin::SkinnedPage::PreTranslatePageMessage);
    control::CMainFrame frame;
    frame.State().silentSwitch = switches.silent;
    frame.State().commandLineFolder = switches.installFolder;
    frame.State().packageFolder = package.Folder();
    frame.State().packageFileName = package.FileName();
    // Without its frame (no window, or no readable project) the setup did not run.
    if (!frame.Create(instance)) {
        frame.ReleaseWorkingFolder();  // a project that could not be read may be half decrypted
        WSACleanup();
        return core::kExitFailed;
    }
    MSG msg;
    int exitCode = 0;
    for (;;) {
        BOOL r = GetMessageA(&msg, nullptr, 0, 0);
        if (r == 0) {
            exitCode = static_cast<int>(msg.wParam);
            break;
        }
        if (r == -1) break;
        if (core::FilterMessage(&msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    if (frame.Window()) DestroyWindow(frame.Window());
    // The decrypted project never outlives the run, however it ended
    // (refused, cancelled, failed, installed): its texts are the author's.
    frame.ReleaseWorkingFolder();
    WSACleanup();
    return exitCode;
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    core::RestrictLibrarySearch();  // before anything loads a library, before anything is unpacked
    // The whole line: a caller may start the program without its name in it.
    const std::string commandLine = GetCommandLineA();
    const control::commandline::Switches switches = control::commandline::ParseCommandLine(commandLine);
    if (const std::optional<int> end = control::ApplySwitches(commandLine, switches))
        return control::LogExitCode(*end);
    // A single file runs from its package, unpacked anew for this run and
    // removed after it, whatever its end; a folder package has none.
    control::SingleFilePackage package;
    if (const std::optional<int> end = package.Unpack(switches.silent)) return control::LogExitCode(*end);
    const int exitCode = RunSetup(instance, switches, package);
    package.Remove();
    return control::LogExitCode(exitCode);
}
