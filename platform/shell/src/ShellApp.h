// The shell's process: the navigation bar, the Today screen, the Start
// menu, the timed-run scheduler and the hardware buttons, driven by one
// message-only window. It rests while nothing happens: the scheduler wakes
// at the next run's time (or when the runs are written), the buttons and
// the bar at the device's input.
#pragma once

#include "platform/shell/src/HardwareButtons.h"
#include "platform/shell/src/InputWatch.h"
#include "platform/shell/src/KeyWatch.h"
#include "platform/shell/src/NavBar.h"
#include "platform/shell/src/RunScheduler.h"
#include "platform/shell/src/StartMenu.h"
#include "platform/shell/src/TodayScreen.h"

#include <memory>

namespace shell {

class ShellApp {
public:
    // The longest the scheduler sleeps: a run whose time the device's clock
    // was set past is started within it.
    static constexpr UINT kSchedulerLongestWaitMs = 60000;

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
    void OnKey(UINT key);
    int PollRuns();
    bool TakeLife();

    HANDLE life_;
    bool lifeOwned_;
    HWND services_;
    TodayScreen today_;
    std::unique_ptr<StartMenu> startMenu_;
    std::unique_ptr<NavBar> navBar_;
    RunScheduler scheduler_;
    HardwareButtons buttons_;
    InputWatch input_;
    bool inputWatched_ = false;
    std::unique_ptr<KeyWatch> runsWatch_;
};

}  // namespace shell
