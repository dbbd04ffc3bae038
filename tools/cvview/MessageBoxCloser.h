// Closes the message boxes a page shows while the preview renders without a
// user (a missing icon file is reported in one), printing their texts.
#pragma once

#include <windows.h>

class MessageBoxCloser {
public:
    // Watches the windows of thread `threadId` until destroyed.
    explicit MessageBoxCloser(DWORD threadId);
    ~MessageBoxCloser();
    MessageBoxCloser(const MessageBoxCloser&) = delete;
    MessageBoxCloser& operator=(const MessageBoxCloser&) = delete;

    // How many boxes were closed so far.
    LONG Closed() const { return closed_; }

private:
    static DWORD WINAPI Run(void* self);
    static BOOL CALLBACK CloseIfBox(HWND hwnd, LPARAM self);

    DWORD threadId_;
    HANDLE stop_;
    HANDLE thread_;
    volatile LONG closed_ = 0;
};
