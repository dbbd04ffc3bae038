// A copy of a window as it looks on the screen, frame and title included.
#pragma once

#include <windows.h>

// Returns a 32-bit bitmap of the whole window (its outer size), or nullptr:
// a copy of the window's device context, so the window must be visible and
// painted; parts outside the screen come out black. The caller deletes it.
HBITMAP CaptureWindow(HWND hwnd);

// Dispatches queued messages until none is left for `quietMs` milliseconds
// (at most `limitMs` in all), so the window has painted.
void PumpUntilIdle(DWORD quietMs, DWORD limitMs);
