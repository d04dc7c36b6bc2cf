// The handheld's user-notification client calls, as its notify.h declares
// them. Only timed runs of a program are offered (CNT_TIME and CNT_PERIOD):
// the shell's scheduler starts the program at the trigger's start time.
#pragma once

#include <windows.h>

#define CNT_EVENT 1
#define CNT_TIME 2
#define CNT_PERIOD 3
#define CNT_CLASSICTIME 4

#define NOTIFICATION_EVENT_NONE 0

typedef struct UserNotificationTrigger {
    DWORD dwSize;            // sizeof(CE_NOTIFICATION_TRIGGER), or the handheld's 52
    DWORD dwType;            // CNT_TIME or CNT_PERIOD
    DWORD dwEvent;           // unused for timed runs
    WCHAR* lpszApplication;  // program to start
    WCHAR* lpszArguments;    // its command line after the program name; may be null
    SYSTEMTIME stStartTime;  // local time of the run
    SYSTEMTIME stEndTime;    // kept for the caller's sake; a run has no end
} CE_NOTIFICATION_TRIGGER, *PCE_NOTIFICATION_TRIGGER;

typedef struct UserNotificationType {
    DWORD ActionFlags;
    WCHAR* pwszDialogTitle;
    WCHAR* pwszDialogText;
    WCHAR* pwszSound;
    DWORD nMaxSound;
    DWORD dwReserved;
} CE_USER_NOTIFICATION, *PCE_USER_NOTIFICATION;

// Sets a timed run, or replaces the run of hNotification when that handle is
// still pending (the same handle comes back). Returns null on bad input:
// no trigger, a dwSize that names no trigger structure, a type other
// than CNT_TIME/CNT_PERIOD, no application, a start time that is not a
// date, or a user notification (dialogs and sounds are not offered).
HANDLE WINAPI CeSetUserNotificationEx(HANDLE hNotification, CE_NOTIFICATION_TRIGGER* pcnt,
                                      CE_USER_NOTIFICATION* pceun);

// Removes a pending run. FALSE when the handle names no pending run.
BOOL WINAPI CeClearUserNotification(HANDLE hNotification);
