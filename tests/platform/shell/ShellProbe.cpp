// ShellProbeTest.exe: what the shell's device test does inside the device.
//   set SECONDS PROGRAM [ARGS]          timed run at now + SECONDS; prints its handle
//   replace HANDLE SECONDS PROGRAM [ARGS]
//   clear HANDLE                        exit 0 when a run was removed
//   touch FILE                          writes FILE (the program of the timed runs)
//   keystate VK                         exit 1 while VK is held, else 0
//   window CLASS                        exit 0 when a visible window of CLASS exists
//   title TEXT                          exit 0 when a visible window titled TEXT exists
//   cover MS                            a full-screen captioned frame over the bar
//                                       and its modal box; both stay MS ms
//   dword KEY VALUE                     prints a DWORD under HKLM\KEY, or "missing"
//   itemtop NAME                        prints the top of Today item NAME on the screen
//   (no arguments)                      the record button's program: writes
//                                       C:\record-probe.txt with "held" or "up"
#include "notify.h"

#include <cstdio>
#include <cwchar>
#include <string>

namespace {

void PumpFor(DWORD ms)
{
    DWORD end = GetTickCount() + ms;
    while (static_cast<LONG>(end - GetTickCount()) > 0) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
}

// A program's full-screen captioned frame over the navigation bar, shown as
// it is made, with a modal box of its own made at once over the work area,
// as a program's options frame and its sheet are; both stay ms milliseconds.
int Cover(int ms)
{
    WNDCLASSW windowClass = {};
    windowClass.lpfnWndProc = DefWindowProcW;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    windowClass.lpszClassName = L"ShellProbeCover";
    RegisterClassW(&windowClass);
    HWND frame = CreateWindowExW(0, L"ShellProbeCover", L"Cover", WS_POPUP | WS_VISIBLE | WS_CAPTION, 0, 0,
                                 GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN), nullptr,
                                 nullptr, windowClass.hInstance, nullptr);
    if (frame == nullptr)
        return 1;
    HWND box = CreateWindowExW(WS_EX_DLGMODALFRAME, L"ShellProbeCover", L"Box", WS_POPUP | WS_CAPTION, 0, 26,
                               240, 268, frame, nullptr, windowClass.hInstance, nullptr);
    if (box == nullptr)
        return 1;
    EnableWindow(frame, FALSE);
    ShowWindow(box, SW_SHOW);
    PumpFor(static_cast<DWORD>(ms));
    return 0;
}

HANDLE SetRun(HANDLE previous, int seconds, wchar_t* program, wchar_t* arguments)
{
    FILETIME now;
    SYSTEMTIME local;
    GetLocalTime(&local);
    SystemTimeToFileTime(&local, &now);
    ULARGE_INTEGER at;
    at.LowPart = now.dwLowDateTime;
    at.HighPart = now.dwHighDateTime;
    at.QuadPart += static_cast<ULONGLONG>(seconds) * 10000000ull;
    FILETIME when = {at.LowPart, at.HighPart};
    CE_NOTIFICATION_TRIGGER trigger = {};
    trigger.dwSize = sizeof(trigger);
    trigger.dwType = CNT_TIME;
    trigger.lpszApplication = program;
    trigger.lpszArguments = arguments;
    FileTimeToSystemTime(&when, &trigger.stStartTime);
    trigger.stEndTime = trigger.stStartTime;
    return CeSetUserNotificationEx(previous, &trigger, nullptr);
}

bool WriteFileText(const wchar_t* path, const char* text)
{
    HANDLE file = CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return false;
    }
    DWORD written = 0;
    WriteFile(file, text, static_cast<DWORD>(strlen(text)), &written, nullptr);
    CloseHandle(file);
    return true;
}

HANDLE ParseHandle(const wchar_t* text)
{
    return reinterpret_cast<HANDLE>(static_cast<ULONG_PTR>(wcstoul(text, nullptr, 0)));
}

struct ItemSearch {
    const wchar_t* name;
    HWND found;
};

BOOL CALLBACK FindItem(HWND window, LPARAM lParam)
{
    auto* search = reinterpret_cast<ItemSearch*>(lParam);
    wchar_t title[64] = L"";
    GetWindowTextW(window, title, 64);
    if (wcscmp(title, search->name) == 0) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc == 1) {
        bool held = (GetAsyncKeyState(0xCF) & 0x8000) != 0;
        return WriteFileText(L"C:\\record-probe.txt", held ? "held" : "up") ? 0 : 1;
    }
    std::wstring command = argv[1];
    if (command == L"set" && argc >= 4) {
        HANDLE handle = SetRun(nullptr, _wtoi(argv[2]), argv[3], argc > 4 ? argv[4] : nullptr);
        wprintf(L"%lu\n", static_cast<unsigned long>(reinterpret_cast<ULONG_PTR>(handle)));
        return handle != nullptr ? 0 : 1;
    }
    if (command == L"replace" && argc >= 5) {
        HANDLE handle = SetRun(ParseHandle(argv[2]), _wtoi(argv[3]), argv[4],
                               argc > 5 ? argv[5] : nullptr);
        wprintf(L"%lu\n", static_cast<unsigned long>(reinterpret_cast<ULONG_PTR>(handle)));
        return handle != nullptr ? 0 : 1;
    }
    if (command == L"clear" && argc == 3) {
        return CeClearUserNotification(ParseHandle(argv[2])) ? 0 : 1;
    }
    if (command == L"touch" && argc == 3) {
        return WriteFileText(argv[2], "fired") ? 0 : 1;
    }
    if (command == L"keystate" && argc == 3) {
        return (GetAsyncKeyState(static_cast<int>(wcstoul(argv[2], nullptr, 0))) & 0x8000) ? 1 : 0;
    }
    if (command == L"window" && argc == 3) {
        HWND window = FindWindowW(argv[2], nullptr);
        return window != nullptr && IsWindowVisible(window) ? 0 : 1;
    }
    if (command == L"front" && argc == 2) {
        wchar_t name[64] = L"";
        GetClassNameW(GetForegroundWindow(), name, 64);
        wprintf(L"%ls\n", name);
        return 0;
    }
    if (command == L"cover" && argc == 3) {
        return Cover(_wtoi(argv[2]));
    }
    if (command == L"title" && argc == 3) {
        HWND window = FindWindowW(nullptr, argv[2]);
        return window != nullptr && IsWindowVisible(window) ? 0 : 1;
    }
    if (command == L"dword" && argc == 4) {
        DWORD value = 0;
        DWORD size = sizeof(value);
        if (RegGetValueW(HKEY_LOCAL_MACHINE, argv[2], argv[3], RRF_RT_REG_DWORD, nullptr, &value,
                         &size) != ERROR_SUCCESS) {
            wprintf(L"missing\n");
            return 1;
        }
        wprintf(L"%lu\n", static_cast<unsigned long>(value));
        return 0;
    }
    if (command == L"itemtop" && argc == 3) {
        HWND today = FindWindowW(L"DesktopExplorerWindow", nullptr);
        ItemSearch search = {argv[2], nullptr};
        if (today != nullptr) {
            EnumChildWindows(today, FindItem, reinterpret_cast<LPARAM>(&search));
        }
        if (search.found == nullptr) {
            wprintf(L"none\n");
            return 1;
        }
        RECT rect;
        GetWindowRect(search.found, &rect);
        MapWindowPoints(nullptr, today, reinterpret_cast<POINT*>(&rect), 2);
        wprintf(L"%ld\n", rect.top);
        return 0;
    }
    fwprintf(stderr, L"ShellProbeTest: bad arguments\n");
    return 2;
}
