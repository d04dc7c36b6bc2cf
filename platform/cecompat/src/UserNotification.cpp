#include "notify.h"

#include "CeRunStore.h"

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
