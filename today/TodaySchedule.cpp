#include "today/TodaySchedule.h"

#include "platform/common/Text.h"
#include "shared/MainMessages.h"
#include "shared/Registry.h"
#include "shared/SharedNames.h"
#include "today/TodayConstants.h"

#include <notify.h>

#include <vector>

namespace {

// "Notify", "Enabled" and "TurnOn" count as on when missing. Read without
// making their keys: the program's first run sets itself up only where its
// settings key is missing.
bool SettingOn(const wchar_t* key, const wchar_t* name)
{
    int value = RegPeekDword(key, name);
    return value == kRegMissing || value != 0;
}

bool IsOne(const wchar_t* key, const wchar_t* name)
{
    int value = RegPeekDword(key, name);
    return value == kRegMissing || value == 1;
}

// Every pending notification's handle; false when the list cannot be read.
bool PendingHandles(std::vector<HANDLE>& handles)
{
    // Runs may come and go between asking how many there are and reading
    // them: ask again with the new count.
    for (int tries = 0; tries < 4; ++tries) {
        DWORD needed = 0;
        if (CeGetUserNotificationHandles(handles.data(), DWORD(handles.size()), &needed)) {
            handles.resize(needed);
            return true;
        }
        if (GetLastError() != ERROR_INSUFFICIENT_BUFFER)
            return false;
        handles.resize(needed);
    }
    return false;
}

// Whether a pending notification starts program with the command word.
bool StartsProgramWith(HANDLE notification, const wchar_t* program, const wchar_t* word)
{
    DWORD needed = 0;
    CeGetUserNotification(notification, 0, &needed, nullptr);
    if (needed < sizeof(CE_NOTIFICATION_INFO_HEADER))
        return false;
    // Pointer-aligned: the header and the trigger are read where they lie.
    std::vector<ULONG_PTR> buffer((needed + sizeof(ULONG_PTR) - 1) / sizeof(ULONG_PTR));
    if (!CeGetUserNotification(notification, DWORD(buffer.size() * sizeof(ULONG_PTR)), &needed,
                               reinterpret_cast<BYTE*>(buffer.data())))
        return false;
    const CE_NOTIFICATION_TRIGGER* trigger =
        reinterpret_cast<const CE_NOTIFICATION_INFO_HEADER*>(buffer.data())->pcent;
    if (trigger == nullptr || trigger->lpszApplication == nullptr || trigger->lpszArguments == nullptr)
        return false;
    // Any case of a path names the same program; the command word is ours
    // and exact.
    return CompareStringOrdinal(trigger->lpszApplication, -1, program, -1, TRUE) == CSTR_EQUAL &&
           wcscmp(trigger->lpszArguments, word) == 0;
}

void HeldRunEventName(HANDLE run, wchar_t* name, size_t count)
{
    FormatText(name, count, kHeldRunEventFormat, static_cast<unsigned long>(reinterpret_cast<ULONG_PTR>(run)));
}

// Whether a loaded item (of this shell or another) holds the run.
bool HeldByAnItem(HANDLE run)
{
    wchar_t name[64];
    HeldRunEventName(run, name, 64);
    HANDLE held = OpenEventW(SYNCHRONIZE, FALSE, name);
    if (held == nullptr)
        return false;
    CloseHandle(held);
    return true;
}

// The time, or the next whole second after it when it has milliseconds
// (notes keep the clock's milliseconds: a preset expiry is now and a
// while). The day of the week follows the date.
SYSTEMTIME WholeSecondOnOrAfter(const SYSTEMTIME& time)
{
    FILETIME at;
    if (time.wMilliseconds == 0 || !SystemTimeToFileTime(&time, &at))
        return time;
    ULARGE_INTEGER ticks;
    ticks.LowPart = at.dwLowDateTime;
    ticks.HighPart = at.dwHighDateTime;
    ticks.QuadPart += ULONGLONG(1000 - time.wMilliseconds) * 10000;
    at.dwLowDateTime = ticks.LowPart;
    at.dwHighDateTime = ticks.HighPart;
    SYSTEMTIME rounded;
    return FileTimeToSystemTime(&at, &rounded) ? rounded : time;
}

}  // namespace

TodaySchedule::TodaySchedule()
{
    arm_ = CreateEventW(nullptr, TRUE, FALSE, nullptr);
}

TodaySchedule::~TodaySchedule()
{
    Hold(nullptr);
    if (arm_ != nullptr)
        CloseHandle(arm_);
}

void TodaySchedule::Reschedule(const SYSTEMTIME* pending)
{
    if (pending == nullptr) {
        ScheduleRun(nullptr);
        return;
    }
    if (IsOne(kSettingsKey, L"Notify") || IsOne(kTodayItemKey, L"Enabled")) {
        if (SettingOn(kSettingsKey, L"TurnOn")) {
            ResetEvent(arm_);
            // Without the system's run the item polls while it is loaded,
            // so the alarm still comes while the Today screen stands.
            runMissing_ = !ScheduleRun(pending);
            if (runMissing_)
                SetEvent(arm_);
        } else {
            SetEvent(arm_);
            ScheduleRun(nullptr);
        }
    } else {
        ResetEvent(arm_);
        ScheduleRun(nullptr);
    }
}

bool TodaySchedule::ScheduleRun(const SYSTEMTIME* time)
{
    runMissing_ = false;
    // The run an earlier load of the item made (before the shell restarted
    // or the items list changed) stays with the scheduler, and this load
    // holds no handle of it: left there, it would start the program at a
    // time the note may since have left.
    if (!earlierRunsRemoved_)
        earlierRunsRemoved_ = RemoveEarlierRuns();
    if (time != nullptr) {
        lastScheduled_ = *time;
        if (time->wHour != kNoExpiryHour) {
            CE_NOTIFICATION_TRIGGER trigger = {};
            trigger.dwSize = sizeof trigger;
            trigger.dwType = CNT_TIME;
            trigger.dwEvent = NOTIFICATION_EVENT_NONE;
            trigger.lpszApplication = programPath;
            trigger.lpszArguments = const_cast<wchar_t*>(kWordRunAtTime);
            // The system keeps whole seconds: a run started before the
            // note's time finds nothing due, so its time is rounded up.
            SYSTEMTIME start = WholeSecondOnOrAfter(*time);
            trigger.stStartTime = start;
            trigger.stEndTime = start;
            // The previous run is handed in, so the system moves it instead
            // of adding a second one. Refused, the previous handle is kept:
            // its run may well stand still, and is moved at the next try.
            HANDLE run = CeSetUserNotificationEx(timedRun_, &trigger, nullptr);
            if (run == nullptr)
                return false;
            timedRun_ = run;
            Hold(timedRun_);
            return true;
        }
    } else {
        if (lastScheduled_.wHour == kNoExpiryHour)
            return true;
        lastScheduled_.wHour = kNoExpiryHour;
    }
    if (timedRun_ != nullptr) {
        CeClearUserNotification(timedRun_);
        timedRun_ = nullptr;
        Hold(nullptr);
    }
    return true;
}

void TodaySchedule::Hold(HANDLE run)
{
    // The system moves a run under its handle: one already held stays so.
    if (run == heldRun_)
        return;
    if (heldEvent_ != nullptr)
        CloseHandle(heldEvent_);
    heldEvent_ = nullptr;
    heldRun_ = run;
    if (run != nullptr) {
        wchar_t name[64];
        HeldRunEventName(run, name, 64);
        heldEvent_ = CreateEventW(nullptr, TRUE, FALSE, name);
    }
}

bool TodaySchedule::RemoveEarlierRuns()
{
    // Without the program's path there is nothing to tell its runs by yet.
    std::vector<HANDLE> handles;
    if (programPath[0] == L'\0' || !PendingHandles(handles))
        return false;
    for (HANDLE handle : handles) {
        if (handle != timedRun_ && !HeldByAnItem(handle) && StartsProgramWith(handle, programPath, kWordRunAtTime))
            CeClearUserNotification(handle);
    }
    return true;
}
