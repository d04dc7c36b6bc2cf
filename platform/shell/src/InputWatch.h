// What can change the screen while the shell rests: a key, a stylus tap, a
// new window. On the handheld the window manager tells the task bar of every
// activation and title change, and the keyboard driver hands the hardware
// buttons' keys to the shell. Wine's desktop tells another process of
// neither (of window events it sends only the creation of a window), so the
// shell watches the device's input and its new windows, and its bar and
// buttons look at the screen after each of them instead of on a timer.
#pragma once

#include <windows.h>

namespace shell {

class InputWatch {
public:
    // Messages posted to the target window: kMsgKey with the virtual key in
    // wParam (for downs and ups alike), kMsgActivity for a tap or a new
    // top-level window.
    static constexpr UINT kMsgKey = WM_APP + 40;
    static constexpr UINT kMsgActivity = WM_APP + 41;

    InputWatch() = default;
    ~InputWatch();
    InputWatch(const InputWatch&) = delete;
    InputWatch& operator=(const InputWatch&) = delete;

    // Hooks this thread into the device's keyboard, stylus and window
    // creation; one watch per process. False when no hook could be set.
    bool Start(HWND target);
    void Stop();

private:
    static LRESULT CALLBACK KeyboardHook(int code, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK MouseHook(int code, WPARAM wParam, LPARAM lParam);
    static void CALLBACK WindowEvent(HWINEVENTHOOK hook, DWORD event, HWND window, LONG object, LONG child,
                                     DWORD thread, DWORD time);

    HHOOK keyboard_ = nullptr;
    HHOOK mouse_ = nullptr;
    HWINEVENTHOOK created_ = nullptr;
};

}  // namespace shell
