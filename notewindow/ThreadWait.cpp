#include "notewindow/ThreadWait.h"

namespace {
// How often the time-out-free join looks again even without a wake-up.
const DWORD kJoinStep = 50;
}  // namespace

bool WaitForThreadServingSends(HANDLE thread, DWORD step)
{
    for (;;) {
        DWORD result = MsgWaitForMultipleObjects(1, &thread, FALSE, step, QS_SENDMESSAGE);
        if (result == WAIT_OBJECT_0 + 1) {
            // Peeking delivers the sent messages; nothing posted is taken.
            MSG msg;
            PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
            continue;
        }
        return result != WAIT_TIMEOUT;
    }
}

void JoinThreadServingSends(HANDLE thread)
{
    if (thread == nullptr)
        return;
    while (!WaitForThreadServingSends(thread, kJoinStep)) {
    }
    CloseHandle(thread);
}
