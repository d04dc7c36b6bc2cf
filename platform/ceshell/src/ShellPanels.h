// The shell's windows that one process shows for whichever of its windows
// is in the foreground: the input panel, and its button for a window
// without a menu bar (a bar draws the button itself). The handheld's shell
// owns them; here they live in the process of the active window, because a
// window of one process is not reliably kept above another process's
// windows in the virtual desktop.
#pragma once

#include <windows.h>

namespace ceshell {

class ShellPanels {
public:
    // Makes the windows on the calling thread the first time (that thread's
    // message loop then serves them).
    static void Ensure();

    // Shows or hides the windows to fit the foreground window and the
    // device's input panel state. Does nothing before Ensure. While the
    // activation moves, the foreground may still name the window that is
    // losing it: front, when given, is the window coming to the front.
    static void Refresh(HWND front = nullptr);
    // The same, at the panel's timer: only these put the windows on top
    // again while the screen settles after a change of the foreground.
    static void RefreshOnTimer();
    // The program was activated or deactivated (WM_ACTIVATEAPP): another
    // program's window may be in front now, or ours again.
    static void RefreshAfterActivation();

    // Takes the windows and their classes down (the module is unloading).
    static void Teardown();

    // For tests and the demo: the windows, or null before they are made
    // (the button window at the first window in front without a bar).
    static HWND PanelWindow();
    static HWND SipButtonWindow();
    static void PressPanelKey(int index);
};

}  // namespace ceshell
