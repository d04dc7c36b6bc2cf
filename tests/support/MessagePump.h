// The tests' message loops: what a program's loop does with the thread's
// queue, for as long as a test needs it, and a send from another thread
// while this one keeps handling what that send brings.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <functional>

// Dispatches what the queue holds now, translated as a program's loop does.
void Pump();

// Pumps until done() holds or timeoutMs pass, waiting for input between
// rounds; returns done(). done() is asked after each round, so a condition
// that holds already still gets one round.
bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs = 5000);

// Pumps for timeoutMs: what a short wait brings (a timer, a repaint).
void PumpFor(DWORD timeoutMs);

// Runs work on a thread of its own, as another program's thread would
// send, while this thread goes on handling what that send brings. The work
// refers to the caller's locals, so this waits for it whatever happens;
// after ten seconds the test fails.
template <class Work>
void FromAnotherThread(Work work)
{
    struct Job {
        Work work;
        static DWORD WINAPI Run(void* self)
        {
            static_cast<Job*>(self)->work();
            return 0;
        }
    } job{work};
    HANDLE thread = CreateThread(nullptr, 0, Job::Run, &job, 0, nullptr);
    ASSERT_NE(nullptr, thread);
    ULONGLONG deadline = GetTickCount64() + 10000;
    bool late = false;
    while (MsgWaitForMultipleObjects(1, &thread, FALSE, 100, QS_ALLINPUT) != WAIT_OBJECT_0) {
        Pump();
        if (!late && GetTickCount64() > deadline) {
            late = true;
            ADD_FAILURE() << "the other thread's work did not end in ten seconds";
        }
    }
    CloseHandle(thread);
    Pump();
}
