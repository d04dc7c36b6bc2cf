#include "platform/shell/src/InputWatch.h"

namespace shell {

namespace {

// The hooks' procedures have no context of their own.
HWND g_target = nullptr;

}  // namespace

InputWatch::~InputWatch()
{
    Stop();
}

bool InputWatch::Start(HWND target)
{
    Stop();
    g_target = target;
    HINSTANCE module = GetModuleHandleW(nullptr);
    keyboard_ = SetWindowsHookExW(WH_KEYBOARD_LL, KeyboardHook, module, 0);
    mouse_ = SetWindowsHookExW(WH_MOUSE_LL, MouseHook, module, 0);
    created_ = SetWinEventHook(EVENT_OBJECT_CREATE, EVENT_OBJECT_CREATE, nullptr, WindowEvent, 0, 0,
                               WINEVENT_OUTOFCONTEXT);
    return keyboard_ != nullptr && mouse_ != nullptr;
}

void InputWatch::Stop()
{
    if (keyboard_ != nullptr)
        UnhookWindowsHookEx(keyboard_);
    if (mouse_ != nullptr)
        UnhookWindowsHookEx(mouse_);
    if (created_ != nullptr)
        UnhookWinEvent(created_);
    keyboard_ = nullptr;
    mouse_ = nullptr;
    created_ = nullptr;
    g_target = nullptr;
}

// The key's state is set only after the hooks have seen it: the target
// looks when the posted message comes, never here.
LRESULT CALLBACK InputWatch::KeyboardHook(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HC_ACTION && g_target != nullptr)
        PostMessageW(g_target, kMsgKey, reinterpret_cast<const KBDLLHOOKSTRUCT*>(lParam)->vkCode, 0);
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

LRESULT CALLBACK InputWatch::MouseHook(int code, WPARAM wParam, LPARAM lParam)
{
    // A stylus moving changes nothing in front; going down or up may.
    if (code == HC_ACTION && g_target != nullptr && wParam != WM_MOUSEMOVE)
        PostMessageW(g_target, kMsgActivity, 0, 0);
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

void CALLBACK InputWatch::WindowEvent(HWINEVENTHOOK, DWORD, HWND window, LONG object, LONG, DWORD, DWORD)
{
    if (object == OBJID_WINDOW && window != nullptr && g_target != nullptr &&
        GetAncestor(window, GA_PARENT) == GetDesktopWindow())
        PostMessageW(g_target, kMsgActivity, 0, 0);
}

}  // namespace shell
