// The Today screen's own messages (kMsgShowToday ... kMsgStartMenuClosed)
// come from the shell's windows, on the shell's one thread. Any program can
// post or send the same numbers, and a posted message does not tell who
// posted it: so the shell notes each one it means before it goes, and the
// screen takes a message only when it finds its note.
#pragma once

#include <windows.h>

namespace shell {

class ScreenRequests {
public:
    static bool Post(HWND screen, UINT message, WPARAM wParam);
    static void Send(HWND screen, UINT message, WPARAM wParam);
    // True, once for each note, when the shell noted this message.
    static bool Take(UINT message, WPARAM wParam);
};

}  // namespace shell
