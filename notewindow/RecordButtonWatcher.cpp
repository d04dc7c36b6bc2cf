#include "notewindow/RecordButtonWatcher.h"

#include "notewindow/ThreadWait.h"
#include "process/Application.h"

namespace {
const SHORT kKeyHeld = SHORT(0x8000);
}  // namespace

RecordButtonWatcher::~RecordButtonWatcher()
{
    Stop();
}

bool RecordButtonWatcher::Start(void (*stopRecording)())
{
    Stop();
    stopRecording_ = stopRecording;
    InterlockedExchange(&stop_, 0);
    thread_ = CreateThread(nullptr, 0, ThreadMain, this, 0, &threadId_);
    if (thread_ == nullptr)
        threadId_ = 0;
    return thread_ != nullptr;
}

void RecordButtonWatcher::Stop()
{
    if (thread_ == nullptr)
        return;
    InterlockedExchange(&stop_, 1);
    // The watcher's last step, stopRecording, sends to the note windows of
    // this thread (1127).
    JoinThreadServingSends(thread_);
    thread_ = nullptr;
    threadId_ = 0;
}

bool RecordButtonWatcher::Running() const
{
    return thread_ != nullptr && WaitForSingleObject(thread_, 0) == WAIT_TIMEOUT;
}

DWORD WINAPI RecordButtonWatcher::ThreadMain(void* self)
{
    static_cast<RecordButtonWatcher*>(self)->Watch();
    return 0;
}

void RecordButtonWatcher::Watch()
{
    int key = g_application != nullptr ? g_application->RecordButtonKey() : 0;
    if (key == 0)
        return;
    bool held;
    do {
        held = (GetAsyncKeyState(key) & kKeyHeld) != 0;
        Sleep(kPollMs);
    } while (held && InterlockedCompareExchange(&stop_, 0, 0) == 0);
    if (stopRecording_ != nullptr)
        stopRecording_();
}
