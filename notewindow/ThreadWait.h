// Waiting on the user interface thread for one of the note window's worker
// threads. The workers send messages to windows of this thread (the ink
// control's stream-out, 1127 to every note window), so a plain wait for them
// would never end: the wait serves those sent messages as they come.
#pragma once

#include <windows.h>

// Waits until thread has ended, serving messages sent to this thread's
// windows meanwhile. False when step milliseconds passed without the thread
// ending, so that the caller can act (and wait again); a handle that cannot
// be waited on counts as ended.
bool WaitForThreadServingSends(HANDLE thread, DWORD step);

// Waits without a time-out, serving sent messages, and closes the handle.
void JoinThreadServingSends(HANDLE thread);
