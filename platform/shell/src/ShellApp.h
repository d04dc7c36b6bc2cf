// The shell's process: the navigation bar, the Today screen, the Start
// menu, the timed-run scheduler and the hardware buttons, driven by one
// message-only window's timers.
#pragma once

#include "platform/shell/src/HardwareButtons.h"
#include "platform/shell/src/NavBar.h"
#include "platform/shell/src/RunScheduler.h"
#include "platform/shell/src/StartMenu.h"
#include "platform/shell/src/TodayScreen.h"

#include <memory>

namespace shell {

class ShellApp {
public:
    static constexpr UINT kSchedulerPollMs = 1000;

    ShellApp();
    virtual ~ShellApp();

    // How long a new shell waits for one that is going down.
    static constexpr DWORD kGoingDownWaitMs = 15000;

    // False when another shell runs on the device or a window cannot be made.
    bool Start(HINSTANCE instance);
    int Run();

    // Asks the running shell to end and waits up to timeoutMs for its
    // process to end; true once no shell runs or goes down.
    static bool QuitRunning(DWORD timeoutMs);

private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void OnTimer(UINT_PTR id);
    bool TakeLife();

    HANDLE life_;
    bool lifeOwned_;
    HWND services_;
    TodayScreen today_;
    std::unique_ptr<StartMenu> startMenu_;
    std::unique_ptr<NavBar> navBar_;
    RunScheduler scheduler_;
    HardwareButtons buttons_;
};

}  // namespace shell
