#include "cecompat.h"

BOOL WINAPI EventModify(HANDLE event, DWORD action)
{
    switch (action) {
    case EVENT_PULSE:
        return PulseEvent(event);
    case EVENT_RESET:
        return ResetEvent(event);
    case EVENT_SET:
        return SetEvent(event);
    default:
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
}
