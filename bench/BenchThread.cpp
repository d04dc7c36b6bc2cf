#include "bench/BenchThread.h"

#include "bench/ProgramBench.h"

namespace bench {

BenchThread::BenchThread()
{
    go = CreateEventW(nullptr, FALSE, FALSE, nullptr);
    done = CreateEventW(nullptr, FALSE, FALSE, nullptr);
    if (go != nullptr && done != nullptr)
        thread = CreateThread(nullptr, 0, ThreadMain, this, 0, nullptr);
}

BenchThread::~BenchThread()
{
    if (thread != nullptr) {
        quit = true;
        SetEvent(go);
        WaitAnswering(thread, INFINITE);
        CloseHandle(thread);
    }
    if (go != nullptr)
        CloseHandle(go);
    if (done != nullptr)
        CloseHandle(done);
}

bool BenchThread::Run(std::function<void()> work)
{
    if (thread == nullptr)
        return false;
    job = std::move(work);
    SetEvent(go);
    WaitAnswering(done, INFINITE);
    job = nullptr;
    return true;
}

DWORD WINAPI BenchThread::ThreadMain(void* self)
{
    static_cast<BenchThread*>(self)->Loop();
    return 0;
}

void BenchThread::Loop()
{
    // The thread's message queue exists before the first job is timed.
    Pump();
    for (;;) {
        DWORD woke = MsgWaitForMultipleObjects(1, &go, FALSE, INFINITE, QS_ALLINPUT);
        if (woke != WAIT_OBJECT_0) {
            Pump();
            continue;
        }
        if (quit)
            return;
        job();
        SetEvent(done);
    }
}

}  // namespace bench
