// The uninstaller's start: common controls and OLE for the skinned page's
// controls and pictures, the pages' key handling, then the run the command
// line asks for. Its exit code is the run's (ExitCodes.h).
#include <windows.h>
#include <commctrl.h>
#include <ole2.h>

#include "core/MessageWait.h"
#include "core/SystemLibraries.h"
#include "skin/SkinnedPage.h"
#include "uninstall/CommandLine.h"
#include "uninstall/Uninstaller.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    core::RestrictLibrarySearch();  // before anything loads a library
    // The whole command line: the setup starts this program with no program
    // name in it, which the C runtime's argument would get wrong.
    const uninstall::Command command = uninstall::ParseCommandLine(GetCommandLineA(), GetACP());
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_WIN95_CLASSES | ICC_PROGRESS_CLASS};
    InitCommonControlsEx(&controls);
    const bool ole = SUCCEEDED(OleInitialize(nullptr));
    core::SetMessageFilter(&skin::SkinnedPage::PreTranslatePageMessage);
    const int exitCode = uninstall::RunUninstaller(command);
    if (ole) OleUninitialize();
    return exitCode;
}
