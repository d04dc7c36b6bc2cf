#include "notify.h"

#include "CeRunStore.h"

#include <cstring>
#include <vector>

namespace {

// The handheld's own size of the trigger (a 32-bit build). Code written for
// the handheld passes it literally; the fields themselves are set by name,
// so it names this structure just as well as this build's sizeof does.
const DWORD kHandheldTriggerSize = 52;

bool IsTriggerSize(DWORD size)
{
    return size == sizeof(CE_NOTIFICATION_TRIGGER) || size == kHandheldTriggerSize;
}

HANDLE AsHandle(DWORD handle)
{
    return reinterpret_cast<HANDLE>(static_cast<ULONG_PTR>(handle));
}

// Only a pending run's own small number is a handle of ours; anything wider
// (a pointer, INVALID_HANDLE_VALUE) names no run.
bool ToRunHandle(HANDLE handle, DWORD& out)
{
    ULONG_PTR value = reinterpret_cast<ULONG_PTR>(handle);
    if (value == 0 || value > 0xFFFFFFFFul) {
        return false;
    }
    out = static_cast<DWORD>(value);
    return true;
}

bool FindRun(DWORD handle, CeTimedRun& out)
{
    for (const CeTimedRun& run : CeRunStore().List()) {
        if (run.handle == handle) {
            out = run;
            return true;
        }
    }
    return false;
}

size_t AlignUp(size_t offset, size_t alignment)
{
    return (offset + alignment - 1) / alignment * alignment;
}

}  // namespace

HANDLE WINAPI CeSetUserNotificationEx(HANDLE hNotification, CE_NOTIFICATION_TRIGGER* pcnt,
                                      CE_USER_NOTIFICATION* pceun)
{
    FILETIME check;
    if (pcnt == nullptr || !IsTriggerSize(pcnt->dwSize) ||
        (pcnt->dwType != CNT_TIME && pcnt->dwType != CNT_PERIOD) ||
        pcnt->lpszApplication == nullptr || pcnt->lpszApplication[0] == L'\0' ||
        !SystemTimeToFileTime(&pcnt->stStartTime, &check)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    if (pceun != nullptr) {
        SetLastError(ERROR_NOT_SUPPORTED);
        return nullptr;
    }
    CeTimedRun run;
    run.application = pcnt->lpszApplication;
    run.arguments = pcnt->lpszArguments != nullptr ? pcnt->lpszArguments : L"";
    run.start = pcnt->stStartTime;
    run.start.wMilliseconds = 0;

    CeRunStore store;
    DWORD previous = 0;
    if (ToRunHandle(hNotification, previous) && store.Replace(previous, run)) {
        return hNotification;
    }
    DWORD handle = store.Add(run);
    if (handle == 0) {
        SetLastError(ERROR_OUTOFMEMORY);
        return nullptr;
    }
    return AsHandle(handle);
}

BOOL WINAPI CeClearUserNotification(HANDLE hNotification)
{
    DWORD handle = 0;
    if (!ToRunHandle(hNotification, handle) || !CeRunStore().Remove(handle)) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    return TRUE;
}

BOOL WINAPI CeGetUserNotificationHandles(HANDLE* rghNotifications, DWORD cHandles,
                                         LPDWORD pcHandlesNeeded)
{
    if (pcHandlesNeeded == nullptr || (rghNotifications == nullptr && cHandles != 0)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    // A list the lock kept from us is no list: an empty answer would say no
    // run is pending.
    CeRunStore store;
    std::vector<CeTimedRun> runs = store.List();
    if (store.LockMissed()) {
        SetLastError(ERROR_TIMEOUT);
        return FALSE;
    }
    *pcHandlesNeeded = static_cast<DWORD>(runs.size());
    if (runs.size() > cHandles) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return FALSE;
    }
    for (size_t i = 0; i < runs.size(); ++i) {
        rghNotifications[i] = AsHandle(runs[i].handle);
    }
    return TRUE;
}

BOOL WINAPI CeGetUserNotification(HANDLE hNotification, DWORD cBufferSize, LPDWORD pcBytesNeeded,
                                  LPBYTE pBuffer)
{
    if (pcBytesNeeded == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    *pcBytesNeeded = 0;
    DWORD handle = 0;
    CeTimedRun run;
    if (!ToRunHandle(hNotification, handle) || !FindRun(handle, run)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    const size_t triggerAt = AlignUp(sizeof(CE_NOTIFICATION_INFO_HEADER),
                                     alignof(CE_NOTIFICATION_TRIGGER));
    const size_t applicationAt = triggerAt + sizeof(CE_NOTIFICATION_TRIGGER);
    const size_t applicationBytes = (run.application.size() + 1) * sizeof(WCHAR);
    const size_t argumentsAt = applicationAt + applicationBytes;
    const size_t argumentsBytes = (run.arguments.size() + 1) * sizeof(WCHAR);
    const size_t needed = argumentsAt + argumentsBytes;
    *pcBytesNeeded = static_cast<DWORD>(needed);
    if (pBuffer == nullptr || cBufferSize < needed) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return FALSE;
    }

    CE_NOTIFICATION_TRIGGER trigger = {};
    trigger.dwSize = sizeof(trigger);
    trigger.dwType = CNT_TIME;
    trigger.dwEvent = NOTIFICATION_EVENT_NONE;
    trigger.lpszApplication = reinterpret_cast<WCHAR*>(pBuffer + applicationAt);
    trigger.lpszArguments = reinterpret_cast<WCHAR*>(pBuffer + argumentsAt);
    trigger.stStartTime = run.start;
    trigger.stEndTime = run.start;
    CE_NOTIFICATION_INFO_HEADER header = {};
    header.hNotification = hNotification;
    header.dwStatus = 0;
    header.pcent = reinterpret_cast<CE_NOTIFICATION_TRIGGER*>(pBuffer + triggerAt);
    header.pceun = nullptr;

    memcpy(pBuffer, &header, sizeof(header));
    memcpy(pBuffer + triggerAt, &trigger, sizeof(trigger));
    memcpy(pBuffer + applicationAt, run.application.c_str(), applicationBytes);
    memcpy(pBuffer + argumentsAt, run.arguments.c_str(), argumentsBytes);
    return TRUE;
}
