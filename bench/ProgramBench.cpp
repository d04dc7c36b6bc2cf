#include "bench/ProgramBench.h"

#include "app/MainWindow.h"
#include "dialogs/AboutBox.h"
#include "platform/common/RegisterClassOnce.h"

#include <aygshell.h>

#include <stdio.h>

namespace bench {

void Pump()
{
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

void Settle()
{
    const DWORD kSettleMs = 100;
    DWORD start = GetTickCount();
    for (DWORD elapsed = 0; elapsed < kSettleMs; elapsed = GetTickCount() - start) {
        Pump();
        MsgWaitForMultipleObjects(0, nullptr, FALSE, kSettleMs - elapsed, QS_ALLINPUT);
    }
    Pump();
}

bool WaitAnswering(HANDLE object, DWORD timeoutMs)
{
    DWORD start = GetTickCount();
    for (;;) {
        DWORD elapsed = GetTickCount() - start;
        if (timeoutMs != INFINITE && elapsed >= timeoutMs)
            return false;
        DWORD left = timeoutMs == INFINITE ? INFINITE : timeoutMs - elapsed;
        if (MsgWaitForMultipleObjects(1, &object, FALSE, left, QS_SENDMESSAGE) == WAIT_OBJECT_0)
            return true;
        MSG message;
        PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    }
}

void EndProcess(int code)
{
    fflush(stdout);
    fflush(stderr);
    ExitProcess(UINT(code));
}

MainWindow* MakeMainWindow(NoteStore& notes)
{
    static AboutBox aboutBox;
    MainWindow* mainWindow = new MainWindow(notes, aboutBox);
    mainWindow->Create(GetModuleHandleW(nullptr), L"BenchMainWindow", L"");
    return mainWindow;
}

void LeaveWithoutPanelButton(HWND window)
{
    SHFullScreen(window, SHFS_HIDESIPBUTTON);
}

HWND MakeReportSink()
{
    WNDCLASSW windowClass = {};
    windowClass.lpfnWndProc = DefWindowProcW;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"BenchReportSink";
    RegisterClassOnce(windowClass);
    return CreateWindowExW(0, L"BenchReportSink", L"", 0, 0, 0, 0, 0, nullptr, nullptr, GetModuleHandleW(nullptr),
                           nullptr);
}

}  // namespace bench
