#include "app/MessageLoop.h"

int RunMessageLoop(HWND mainWindow)
{
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (message.message == WM_KEYUP && message.wParam == 'Q' && (GetKeyState(VK_CONTROL) & 0x8000) != 0) {
            PostMessageW(mainWindow, WM_CLOSE, 0, 0);
            continue;
        }
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return int(message.wParam);
}
