#include "core/MessageWait.h"

namespace core {

namespace {
MessageFilter g_filter = nullptr;
}  // namespace

void SetMessageFilter(MessageFilter filter) { g_filter = filter; }

bool FilterMessage(MSG* msg) { return g_filter && g_filter(msg); }

void WaitDispatchingMessages(HANDLE handle) {
    bool quit = false;
    int quitCode = 0;
    for (;;) {
        if (WaitForSingleObject(handle, 0) == WAIT_OBJECT_0) break;
        DWORD r = MsgWaitForMultipleObjects(1, &handle, FALSE, INFINITE, QS_ALLINPUT);
        if (r == WAIT_OBJECT_0 || r == WAIT_FAILED) break;
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) {
                quit = true;
                quitCode = static_cast<int>(msg.wParam);
                continue;
            }
            if (!FilterMessage(&msg)) {
                TranslateMessage(&msg);
                DispatchMessageA(&msg);
            }
            if (WaitForSingleObject(handle, 0) == WAIT_OBJECT_0) break;
        }
    }
    if (quit) PostQuitMessage(quitCode);
}

bool WaitKeepingWindowsAlive(HANDLE handle, DWORD ms) {
    const DWORD start = GetTickCount();
    bool quit = false;
    int quitCode = 0;
    bool signalled = false;
    for (;;) {
        MSG msg;
        // Everything below WM_USER but the timers: painting, input, commands, system messages.
        while (PeekMessageA(&msg, nullptr, 0, WM_TIMER - 1, PM_REMOVE) ||
               PeekMessageA(&msg, nullptr, WM_TIMER + 1, WM_USER - 1, PM_REMOVE)) {
            if (msg.message == WM_QUIT) {
                quit = true;
                quitCode = static_cast<int>(msg.wParam);
                continue;
            }
            if (!FilterMessage(&msg)) {
                TranslateMessage(&msg);
                DispatchMessageA(&msg);
            }
        }
        const DWORD elapsed = GetTickCount() - start;
        // Only what arrives from now on wakes the wait: the messages left
        // queued above do not.
        const DWORD r = MsgWaitForMultipleObjects(1, &handle, FALSE, elapsed >= ms ? 0 : ms - elapsed,
                                                  QS_PAINT | QS_INPUT | QS_SENDMESSAGE | QS_POSTMESSAGE);
        if (r != WAIT_OBJECT_0 + 1) {
            signalled = r == WAIT_OBJECT_0;
            break;
        }
    }
    if (quit) PostQuitMessage(quitCode);
    return signalled;
}

}  // namespace core
