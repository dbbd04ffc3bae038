// Waiting for a worker thread or a process while the user-interface thread
// keeps dispatching its messages, so timers, painting and Cancel keep working.
#pragma once

#include <windows.h>

namespace core {

// Looks at a message before it is translated and dispatched; true when it
// was used and must go no further (the pages' keyboard handling).
using MessageFilter = bool (*)(MSG* msg);

// The filter every wait of the process applies; set once by the program's
// start (none by default).
void SetMessageFilter(MessageFilter filter);
// Applies the filter set, if any, to a message of the program's own loops.
bool FilterMessage(MSG* msg);

// Returns when the handle is signalled. Dispatches every queued message and
// tests the handle after each one. A WM_QUIT met on the way is put back on
// the queue for the main loop.
void WaitDispatchingMessages(HANDLE handle);

// Waits at most `ms` for the handle, dispatching only what keeps the
// thread's windows alive: painting, input and the system's own messages.
// Timers and the messages the program posts to itself stay queued, so no step
// of the program runs in the middle of the one that waits. True when the
// handle is signalled. A WM_QUIT met on the way is put back on the queue.
bool WaitKeepingWindowsAlive(HANDLE handle, DWORD ms);

}  // namespace core
