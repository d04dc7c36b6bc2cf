#include "today/TodaySchedule.h"

#include "app/MainMessages.h"
#include "app/Registry.h"
#include "app/Settings.h"
#include "today/TodayConstants.h"

#include <notify.h>

namespace {

// "Notify", "Enabled" and "TurnOn" count as on when missing.
bool SettingOn(const wchar_t* key, const wchar_t* name)
{
    int value = RegReadDword(key, name);
    return value == kRegMissing || value != 0;
}

bool IsOne(const wchar_t* key, const wchar_t* name)
{
    int value = RegReadDword(key, name);
    return value == kRegMissing || value == 1;
}

}  // namespace

TodaySchedule::TodaySchedule()
{
    arm_ = CreateEventW(nullptr, TRUE, FALSE, nullptr);
}

TodaySchedule::~TodaySchedule()
{
    if (arm_ != nullptr)
        CloseHandle(arm_);
}

void TodaySchedule::Reschedule(const TodayNoteList& notes)
{
    const TodayEntry* pending = notes.Pending();
    if (pending == nullptr) {
        ScheduleRun(nullptr);
        return;
    }
    if (IsOne(kSettingsKey, L"Notify") || IsOne(kTodayItemKey, L"Enabled")) {
        if (SettingOn(kSettingsKey, L"TurnOn")) {
            ResetEvent(arm_);
            ScheduleRun(&pending->expiry);
        } else {
            SetEvent(arm_);
            ScheduleRun(nullptr);
        }
    } else {
        ResetEvent(arm_);
        ScheduleRun(nullptr);
    }
}

void TodaySchedule::ScheduleRun(const SYSTEMTIME* time)
{
    if (time != nullptr) {
        lastScheduled_ = *time;
        if (time->wHour != kNoExpiryHour) {
            CE_NOTIFICATION_TRIGGER trigger = {};
            trigger.dwSize = sizeof trigger;
            trigger.dwType = CNT_TIME;
            trigger.dwEvent = NOTIFICATION_EVENT_NONE;
            trigger.lpszApplication = programPath;
            trigger.lpszArguments = const_cast<wchar_t*>(kWordRunAtTime);
            trigger.stStartTime = *time;
            trigger.stEndTime = *time;
            // The previous run is handed in, so the system moves it instead
            // of adding a second one.
            timedRun_ = CeSetUserNotificationEx(timedRun_, &trigger, nullptr);
            return;
        }
    } else {
        if (lastScheduled_.wHour == kNoExpiryHour)
            return;
        lastScheduled_.wHour = kNoExpiryHour;
    }
    if (timedRun_ != nullptr) {
        CeClearUserNotification(timedRun_);
        timedRun_ = nullptr;
    }
}
