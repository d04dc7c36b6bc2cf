#include "app/MessageLoop.h"

int RunMessageLoop(HWND mainWindow)
{
    MSG message;
    for (;;) {
        BOOL got = GetMessageW(&message, nullptr, 0, 0);
        if (got < 0)
            break;
        if (got == 0) {
            // The program's own quit comes once its main window is gone. Any
            // other program can post WM_QUIT too: that one asks the program
            // to end, which it does the way Ctrl+Q does, storing the open
            // note first.
            if (!IsWindow(mainWindow))
                break;
            PostMessageW(mainWindow, WM_CLOSE, 0, 0);
            continue;
        }
        if (message.message == WM_KEYUP && message.wParam == 'Q' && (GetKeyState(VK_CONTROL) & 0x8000) != 0) {
            PostMessageW(mainWindow, WM_CLOSE, 0, 0);
            continue;
        }
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return int(message.wParam);
}
