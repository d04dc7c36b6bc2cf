// The handheld's user-notification client calls, as its notify.h declares
// them. Only timed runs of a program are offered (CNT_TIME and CNT_PERIOD):
// the shell's scheduler starts the program at the trigger's start time, and
// a run leaves the list as it is started.
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

// What CeGetUserNotification fills in at the start of its buffer; the
// trigger and its strings follow in the same buffer.
typedef struct UserNotificationInfoHeader {
    HANDLE hNotification;
    DWORD dwStatus;                 // always 0: a run being started is no longer listed
    CE_NOTIFICATION_TRIGGER* pcent;
    CE_USER_NOTIFICATION* pceun;    // always null: runs carry no dialog
} CE_NOTIFICATION_INFO_HEADER, *PCE_NOTIFICATION_INFO_HEADER;

// The handles of every pending run. *pcHandlesNeeded gets their number;
// when more than cHandles are pending, nothing is written and the call
// fails with ERROR_INSUFFICIENT_BUFFER, so (NULL, 0, &count) asks how many.
BOOL WINAPI CeGetUserNotificationHandles(HANDLE* rghNotifications, DWORD cHandles,
                                         LPDWORD pcHandlesNeeded);

// Reads one pending run into pBuffer: a CE_NOTIFICATION_INFO_HEADER, then
// the trigger and its strings. A run is read back as CNT_TIME with its end
// time equal to its start, and null arguments as an empty string. A buffer
// smaller than *pcBytesNeeded fails with ERROR_INSUFFICIENT_BUFFER; a handle
// that names no pending run fails with ERROR_INVALID_PARAMETER and 0 needed.
BOOL WINAPI CeGetUserNotification(HANDLE hNotification, DWORD cBufferSize, LPDWORD pcBytesNeeded,
                                  LPBYTE pBuffer);
