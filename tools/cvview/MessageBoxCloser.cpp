#include "MessageBoxCloser.h"

#include <cstdio>

MessageBoxCloser::MessageBoxCloser(DWORD threadId) : threadId_(threadId) {
    stop_ = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    thread_ = CreateThread(nullptr, 0, &MessageBoxCloser::Run, this, 0, nullptr);
}

MessageBoxCloser::~MessageBoxCloser() {
    SetEvent(stop_);
    if (thread_) {
        WaitForSingleObject(thread_, INFINITE);
        CloseHandle(thread_);
    }
    CloseHandle(stop_);
}

BOOL CALLBACK MessageBoxCloser::CloseIfBox(HWND hwnd, LPARAM param) {
    auto* self = reinterpret_cast<MessageBoxCloser*>(param);
    char cls[32] = "";
    GetClassNameA(hwnd, cls, sizeof cls);
    if (lstrcmpA(cls, "#32770") != 0 || !IsWindowVisible(hwnd)) return TRUE;
    // The page itself is a dialog too: a message box has the static text 0xFFFF.
    HWND text = GetDlgItem(hwnd, 0xFFFF);
    if (!text) return TRUE;
    char message[1024] = "";
    GetWindowTextA(text, message, sizeof message);
    std::fprintf(stderr, "cvview: message box: %s\n", message);
    std::fflush(stderr);
    PostMessageA(hwnd, WM_COMMAND, IDOK, 0);
    InterlockedIncrement(&self->closed_);
    return TRUE;
}

DWORD WINAPI MessageBoxCloser::Run(void* param) {
    auto* self = static_cast<MessageBoxCloser*>(param);
    while (WaitForSingleObject(self->stop_, 50) == WAIT_TIMEOUT)
        EnumThreadWindows(self->threadId_, &MessageBoxCloser::CloseIfBox,
                          reinterpret_cast<LPARAM>(param));
    return 0;
}
