// Waiting for a worker thread or a process while the user-interface thread
// keeps dispatching its messages, so timers, painting and Cancel keep working.
#pragma once

#include <windows.h>

// Returns when the handle is signalled. Dispatches every queued message and
// tests the handle after each one. A WM_QUIT met on the way is put back on
// the queue for the main loop.
void WaitDispatchingMessages(HANDLE handle);
