// Keeps the main program scheduled for the next pending note: one timed
// system run ("AppRunAtTime") at its expiry when the device may be woken
// ("TurnOn"), otherwise the expiry watcher armed to poll while the Today
// screen is loaded.
#pragma once

#include "today/TodayNoteList.h"

#include <windows.h>

class TodaySchedule {
public:
    TodaySchedule();
    virtual ~TodaySchedule();

    // pending: the expiry of the list's pending note, null when none. Called
    // without the list's lock: the scheduler's own lock may be waited for.
    void Reschedule(const SYSTEMTIME* pending);
    // A time sets (or moves) the timed run there; null, or an hour of 25,
    // removes it, once. The first call of a load also removes the runs an
    // earlier load of the item left, so the program has one run at most.
    // False when the system refused the run (its list was kept from us).
    bool ScheduleRun(const SYSTEMTIME* time);
    // The last Reschedule wanted a timed run the system did not take: the
    // program starts for the note only while the item polls.
    bool RunMissing() const { return runMissing_; }

    // Manual reset; signalled while the expiry watcher is to poll.
    HANDLE ArmEvent() const { return arm_; }
    HANDLE TimedRun() const { return timedRun_; }

    wchar_t programPath[MAX_PATH] = L"";

private:
    // Clears the program's "AppRunAtTime" runs that no loaded item holds;
    // false when the scheduler's list could not be read.
    bool RemoveEarlierRuns();
    void Hold(HANDLE run);

    HANDLE arm_;
    HANDLE heldRun_ = nullptr;
    HANDLE heldEvent_ = nullptr;
    HANDLE timedRun_ = nullptr;
    SYSTEMTIME lastScheduled_ = {};
    bool earlierRunsRemoved_ = false;
    bool runMissing_ = false;
};
