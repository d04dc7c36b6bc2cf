#include "bench/ProgramBench.h"

#include "app/MainWindow.h"

namespace bench {

void Pump()
{
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

HWND MakeMainWindow()
{
    WNDCLASSW windowClass = {};
    windowClass.lpfnWndProc = MainWindowProc;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"BenchMainWindow";
    RegisterClassW(&windowClass);
    BYTE openedAlarm = 0;
    return CreateWindowExW(0, L"BenchMainWindow", L"", 0, 0, 0, 0, 0, nullptr, nullptr, GetModuleHandleW(nullptr),
                           &openedAlarm);
}

}  // namespace bench
