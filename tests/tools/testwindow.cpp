// testwindow CLASS TITLE SECONDS: keeps a top-level window of that class and
// title for SECONDS (hidden: it is found, not seen), then exits. Prints
// "READY" once the window exists (exit code 1 when it cannot be made).
#include <windows.h>

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
    if (argc != 4) return 2;
    WNDCLASSA wc = {};
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = argv[1];
    if (!RegisterClassA(&wc)) return 1;
    HWND window = CreateWindowA(argv[1], argv[2], WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr, nullptr,
                                wc.hInstance, nullptr);
    if (!window) return 1;
    std::printf("READY\n");
    std::fflush(stdout);
    SetTimer(window, 1, static_cast<UINT>(std::atoi(argv[3])) * 1000, nullptr);
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        if (msg.message == WM_TIMER) break;
        DispatchMessageA(&msg);
    }
    DestroyWindow(window);
    return 0;
}
