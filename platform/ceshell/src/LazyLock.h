// A critical section made at its first use: the library's process-wide
// locks have no start-up code to make them, and two threads may be first.
#pragma once

#include <windows.h>

namespace ceshell {

class LazyLock {
public:
    CRITICAL_SECTION* Get()
    {
        InitOnceExecuteOnce(&once_, Initialize, &lock_, nullptr);
        return &lock_;
    }

private:
    static BOOL CALLBACK Initialize(PINIT_ONCE, PVOID lock, PVOID*)
    {
        InitializeCriticalSection(static_cast<CRITICAL_SECTION*>(lock));
        return TRUE;
    }

    CRITICAL_SECTION lock_;
    INIT_ONCE once_ = INIT_ONCE_STATIC_INIT;
};

}  // namespace ceshell
