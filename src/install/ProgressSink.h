// Where the installation reports its status and progress: the progress page,
// or nothing in a run without one. Called from the installation's worker
// thread; implementations send window messages to the page's controls.
#pragma once

#include <windows.h>

#include <string>

class ProgressSink {
public:
    virtual ~ProgressSink() = default;
    // line 0: the main status line; line 1: the detail line.
    virtual void SetStatus(const std::string& text, int line) = 0;
    virtual void SetProgressRange(int count) = 0;
    virtual void SetProgressPosition(int position) = 0;
    // The window that owns the engine's dialogs (may be null).
    virtual HWND DialogOwner() = 0;
};
