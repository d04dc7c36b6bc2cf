#include "app/StartGate.h"

#include <windows.h>

namespace {

const wchar_t kStartMutexName[] = L"KORVA Jotlings Start";
const DWORD kStartWaitMs = 10000;
HANDLE g_startMutex = nullptr;

}  // namespace

void StartGate::Enter()
{
    g_startMutex = CreateMutexW(nullptr, FALSE, kStartMutexName);
    if (g_startMutex != nullptr)
        WaitForSingleObject(g_startMutex, kStartWaitMs);
}

void StartGate::LetOthersIn()
{
    if (g_startMutex == nullptr)
        return;
    ReleaseMutex(g_startMutex);
    CloseHandle(g_startMutex);
    g_startMutex = nullptr;
}
