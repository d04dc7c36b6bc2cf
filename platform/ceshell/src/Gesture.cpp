#include "Gesture.h"

#include "LazyLock.h"

#include <cstdlib>
#include <vector>

namespace ceshell {

namespace {

struct ThreadGesture {
    HHOOK hook = nullptr;
    HWND heldWindow = nullptr;  // a right button went down here and is still down
};

thread_local ThreadGesture t_gesture;

// Every thread's hook, so that all can be taken off when the module goes.
// Never destroyed: the module's teardown, which takes the hooks off, runs
// after the statics made later than it are gone, and a hook left behind
// points into unloaded code (under Wine, the hooks below it are then never
// called).
std::vector<HHOOK>& Hooks()
{
    static auto* hooks = new std::vector<HHOOK>;
    return *hooks;
}

CRITICAL_SECTION* HooksLock()
{
    static LazyLock lock;
    return lock.Get();
}

LRESULT CALLBACK GetMessageHook(int code, WPARAM removal, LPARAM lParam)
{
    MSG* message = reinterpret_cast<MSG*>(lParam);
    if (code == HC_ACTION && message != nullptr) {
        bool removed = (removal & PM_REMOVE) != 0;
        switch (message->message) {
        case WM_RBUTTONDOWN:
        case WM_RBUTTONDBLCLK:
            message->message = WM_LBUTTONDOWN;
            message->wParam = (message->wParam & ~static_cast<WPARAM>(MK_RBUTTON)) | MK_LBUTTON;
            if (removed)
                t_gesture.heldWindow = message->hwnd;
            break;
        case WM_RBUTTONUP:
            message->message = WM_LBUTTONUP;
            message->wParam &= ~static_cast<WPARAM>(MK_RBUTTON);
            if (removed)
                t_gesture.heldWindow = nullptr;
            break;
        }
    }
    return CallNextHookEx(nullptr, code, removal, lParam);
}

bool IsButtonMessage(UINT message)
{
    return message != WM_MOUSEMOVE && message >= WM_MOUSEFIRST && message <= WM_MOUSELAST;
}

// Watches the queue without taking the release or a move out of it: the
// client still gets those as usual once the recogniser has returned.
bool WaitForHold(HWND client, POINT down, DWORD delayMs)
{
    ULONGLONG deadline = GetTickCount64() + delayMs;
    for (;;) {
        MSG message;
        while (PeekMessageW(&message, nullptr, WM_MOUSEFIRST, WM_MOUSELAST, PM_NOREMOVE)) {
            if (IsButtonMessage(message.message))
                return false;
            POINT at = {static_cast<short>(LOWORD(message.lParam)), static_cast<short>(HIWORD(message.lParam))};
            if (message.hwnd != client && message.hwnd != nullptr)
                MapWindowPoints(message.hwnd, client, &at, 1);
            if (std::abs(at.x - down.x) > kHoldSlackPixels || std::abs(at.y - down.y) > kHoldSlackPixels)
                return false;
            PeekMessageW(&message, nullptr, WM_MOUSEMOVE, WM_MOUSEMOVE, PM_REMOVE);
        }
        ULONGLONG now = GetTickCount64();
        if (now >= deadline)
            return true;
        MsgWaitForMultipleObjectsEx(0, nullptr, static_cast<DWORD>(deadline - now), QS_MOUSE,
                                    MWMO_INPUTAVAILABLE);
    }
}

}  // namespace

void EnsureGestureHook()
{
    if (t_gesture.hook != nullptr)
        return;
    t_gesture.hook = SetWindowsHookExW(WH_GETMESSAGE, GetMessageHook, nullptr, GetCurrentThreadId());
    if (t_gesture.hook == nullptr)
        return;
    EnterCriticalSection(HooksLock());
    Hooks().push_back(t_gesture.hook);
    LeaveCriticalSection(HooksLock());
}

void RemoveGestureHooks()
{
    EnterCriticalSection(HooksLock());
    for (HHOOK hook : Hooks())
        UnhookWindowsHookEx(hook);
    Hooks().clear();
    LeaveCriticalSection(HooksLock());
    t_gesture.hook = nullptr;
}

DWORD RecognizeGesture(const SHRGINFO& info)
{
    HWND client = info.hwndClient;
    bool held;
    if (t_gesture.heldWindow != nullptr && t_gesture.heldWindow == client) {
        t_gesture.heldWindow = nullptr;
        held = true;
    } else {
        held = WaitForHold(client, info.ptDown, (info.dwFlags & SHRG_LONGDELAY) ? kLongHoldDelayMs : kHoldDelayMs);
    }
    if (!held || !IsWindow(client))
        return 0;
    if (!(info.dwFlags & SHRG_NOTIFYPARENT))
        return GN_CONTEXTMENU;
    HWND parent = GetParent(client);
    if (parent == nullptr)
        parent = client;
    NMRGINFO notice = {};
    notice.hdr.hwndFrom = client;
    notice.hdr.idFrom = static_cast<UINT_PTR>(GetDlgCtrlID(client));
    notice.hdr.code = GN_CONTEXTMENU;
    notice.ptAction = info.ptDown;
    notice.dwItemSpec = 0;
    return static_cast<DWORD>(SendMessageW(parent, WM_NOTIFY, notice.hdr.idFrom, reinterpret_cast<LPARAM>(&notice)));
}

}  // namespace ceshell
