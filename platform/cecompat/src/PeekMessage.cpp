#include "cecompat.h"

// The real call of user32; cecompat.h sends the program's calls here.
#undef PeekMessageW

namespace {

// The windows whose stylus messages were removed while a press was being
// handed out, and the hook that drops that press on its way to them.
const int kMaxWindows = 4;
thread_local HHOOK t_hook = nullptr;
thread_local HWND t_windows[kMaxWindows] = {};
thread_local int t_windowCount = 0;
thread_local int t_removing = 0;
thread_local DWORD t_armedAt = 0;

void Disarm()
{
    if (t_hook != nullptr)
        UnhookWindowsHookEx(t_hook);
    t_hook = nullptr;
    t_windowCount = 0;
}

bool IsArmedWindow(HWND target)
{
    for (int i = 0; i < t_windowCount; ++i) {
        if (target == t_windows[i] || IsChild(t_windows[i], target))
            return true;
    }
    return false;
}

LRESULT CALLBACK OnMessageTaken(int code, WPARAM removed, LPARAM lParam)
{
    // The first message the thread takes after the removal, outside the
    // removal calls themselves, is the press being handed out, if there is
    // one: a press made before the removal. Anything else ends the watch.
    if (code == HC_ACTION && (removed & PM_REMOVE) && t_removing == 0) {
        MSG* message = reinterpret_cast<MSG*>(lParam);
        if ((message->message == WM_LBUTTONDOWN || message->message == WM_LBUTTONDBLCLK) &&
            static_cast<LONG>(message->time - t_armedAt) <= 0 && IsArmedWindow(message->hwnd))
            message->message = WM_NULL;
        Disarm();
    }
    return CallNextHookEx(nullptr, code, removed, lParam);
}

void Arm(HWND window)
{
    for (int i = 0; i < t_windowCount; ++i) {
        if (t_windows[i] == window)
            return;
    }
    if (t_windowCount == kMaxWindows)
        return;
    t_armedAt = GetTickCount();
    if (t_hook == nullptr) {
        t_hook = SetWindowsHookExW(WH_GETMESSAGE, OnMessageTaken, nullptr, GetCurrentThreadId());
        if (t_hook == nullptr)
            return;
    }
    t_windows[t_windowCount++] = window;
}

bool CoversPress(UINT first, UINT last)
{
    if (first == 0 && last == 0)
        return true;
    return first <= WM_LBUTTONDOWN && last >= WM_LBUTTONDOWN;
}

}  // namespace

BOOL WINAPI CePeekMessageW(MSG* message, HWND window, UINT first, UINT last, UINT flags)
{
    if (window == nullptr || !(flags & PM_REMOVE))
        return PeekMessageW(message, window, first, last, flags);
    ++t_removing;
    BOOL found = PeekMessageW(message, window, first, last, flags);
    --t_removing;
    // None of the window's messages is left in the queue; a press that
    // Wine is handing out right now is not among them.
    if (!found && CoversPress(first, last))
        Arm(window);
    return found;
}
