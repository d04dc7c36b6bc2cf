#include "platform/shell/src/RunScheduler.h"

#include "platform/common/ProgramStartLimits.h"

namespace shell {

RunScheduler::RunScheduler(const wchar_t* storeKey, ProgramStarter starter, Clock clock)
    : store_(storeKey), starter_(starter), clock_(clock)
{
    // The scheduler polls on the shell's user-interface thread: a lock held
    // elsewhere costs it a frame, never the screen.
    store_.SetLockWait(kLockWaitMs);
}

RunScheduler::~RunScheduler() = default;

namespace {

ULONGLONG Ticks(const FILETIME& time)
{
    return (static_cast<ULONGLONG>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
}

}  // namespace

bool RunScheduler::IsDue(const SYSTEMTIME& start, const FILETIME& now)
{
    FILETIME at;
    // A run with a time that is no date can never come; it is started at
    // once rather than left to sit in the list for ever.
    if (!SystemTimeToFileTime(&start, &at)) {
        return true;
    }
    return CompareFileTime(&at, &now) <= 0;
}

int RunScheduler::Poll()
{
    SYSTEMTIME nowTime;
    clock_(&nowTime);
    FILETIME now;
    if (!SystemTimeToFileTime(&nowTime, &now)) {
        return 0;
    }
    int started = 0;
    msToNext_ = INFINITE;
    std::vector<CeTimedRun> runs = store_.List();
    // Held for many polls on end, the lock is no other program's moment in
    // the list but a program keeping every alarm from coming: the due runs
    // are taken without it.
    lockMisses_ = store_.LockMissed() ? lockMisses_ + 1 : 0;
    bool without = lockMisses_ >= kLockMissesToGoWithout;
    if (without) {
        store_.GoWithoutLock(true);
        runs = store_.List();
    }
    if (lockMisses_ > 0 && !without)
        msToNext_ = kLockRetryMs;
    for (const CeTimedRun& run : runs) {
        if (!IsDue(run.start, now)) {
            FILETIME at;
            SystemTimeToFileTime(&run.start, &at);
            ULONGLONG ahead = (Ticks(at) - Ticks(now) + 9999) / 10000;
            if (ahead < msToNext_)
                msToNext_ = static_cast<DWORD>(ahead);
            continue;
        }
        // Removed before the start, so that a program that cannot start (or
        // a shell that dies while starting it) does not start it again and
        // again; a run moved since the list was read stays for its new time.
        if (!store_.Take(run)) {
            continue;
        }
        // A run that no start can take is dropped before any starter sees
        // it, and the runs after it in this pass still start.
        if (!FitsProgramStart(run.application.c_str(), run.arguments.c_str())) {
            continue;
        }
        if (starter_(run.application, run.arguments)) {
            ++started;
        }
    }
    store_.GoWithoutLock(false);
    return started;
}

}  // namespace shell
