#include "tests/support/MessagePump.h"

void Pump()
{
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs)
{
    ULONGLONG deadline = GetTickCount64() + timeoutMs;
    for (;;) {
        Pump();
        if (done())
            return true;
        ULONGLONG now = GetTickCount64();
        if (now >= deadline)
            return done();
        DWORD left = static_cast<DWORD>(deadline - now);
        MsgWaitForMultipleObjects(0, nullptr, FALSE, left < 10 ? left : 10, QS_ALLINPUT);
    }
}

void PumpFor(DWORD timeoutMs)
{
    PumpUntil([] { return false; }, timeoutMs);
}
