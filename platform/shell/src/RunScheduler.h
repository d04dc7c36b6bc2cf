// The device's timed runs: at a run's time, start its program with its
// arguments. Runs live in the registry (CeRunStore), so one whose time came
// while the shell was not running is started at the shell's next poll.
#pragma once

#include "CeRunStore.h"
#include "platform/shell/src/ProcessStarter.h"

namespace shell {

class RunScheduler {
public:
    using Clock = void (*)(SYSTEMTIME* now);

    explicit RunScheduler(const wchar_t* storeKey = CeRunStore::kDefaultKey,
                          ProgramStarter starter = StartProgram, Clock clock = GetLocalTime);
    virtual ~RunScheduler();

    // Starts every run whose time has come and removes it from the store.
    // Returns how many were started.
    int Poll();
    // Milliseconds from the last Poll to the earliest run still pending
    // (INFINITE for none); a second while another program held the lock.
    DWORD MsToNextRun() const { return msToNext_; }

private:
    static bool IsDue(const SYSTEMTIME& start, const FILETIME& now);

    static constexpr DWORD kLockWaitMs = 16;
    // Polls in a row that found the lock held; a poll a second then.
    static constexpr int kLockMissesToGoWithout = 3;
    static constexpr DWORD kLockRetryMs = 1000;

    CeRunStore store_;
    ProgramStarter starter_;
    Clock clock_;
    int lockMisses_ = 0;
    DWORD msToNext_ = INFINITE;
};

}  // namespace shell
