#pragma once

// The part of the Windows wake-ups that the tests reach.

#include <windows.h>

namespace velmo {

// The console control handler that EndRequests sets, which the system runs
// on a thread of its own for each console event. It holds the thread, and so
// the process, after closing the console, logging off and shutting down.
BOOL WINAPI OnConsoleEvent(DWORD event);

}  // namespace velmo
