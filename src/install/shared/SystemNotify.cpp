#include "install/shared/SystemNotify.h"

#include <shlobj.h>
#include <windows.h>

#include "core/Trace.h"

namespace install {

namespace {

// How long one window may take to answer, and how long the run waits for
// the whole broadcast before it goes on without it.
constexpr UINT kPerWindowTimeoutMs = 2000;
constexpr DWORD kBroadcastWaitMs = 3000;

DWORD WINAPI BroadcastEnvironment(void*) {
    DWORD_PTR answer = 0;
    static const char kEnvironment[] = "Environment";  // outlives a caller that stopped waiting
    if (!SendMessageTimeoutA(HWND_BROADCAST, WM_SETTINGCHANGE, 0,
                             reinterpret_cast<LPARAM>(kEnvironment), SMTO_ABORTIFHUNG,
                             kPerWindowTimeoutMs, &answer))
        core::trace::Failure("SendMessageTimeoutA WM_SETTINGCHANGE", GetLastError());
    return 0;
}

}  // namespace

void AnnounceAssociationChange() {
    SHChangeNotify(SHCNE_ASSOCCHANGED, SHCNF_IDLIST, nullptr, nullptr);
}

void AnnounceEnvironmentChange() {
    HANDLE thread = CreateThread(nullptr, 0, &BroadcastEnvironment, nullptr, 0, nullptr);
    if (!thread) {
        core::trace::Failure("CreateThread (environment broadcast)", GetLastError());
        return;
    }
    if (WaitForSingleObject(thread, kBroadcastWaitMs) != WAIT_OBJECT_0)
        core::trace::Line("environment broadcast still running; not waited for");
    CloseHandle(thread);
}

}  // namespace install
