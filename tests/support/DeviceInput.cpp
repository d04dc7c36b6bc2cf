#include "tests/support/DeviceInput.h"

#include <vector>

void SendKey(WORD key, bool down)
{
    SendKeys({{key, down}});
}

void SendKeys(std::initializer_list<std::pair<WORD, bool>> keys)
{
    std::vector<INPUT> inputs;
    for (const auto& key : keys) {
        INPUT input = {};
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = key.first;
        input.ki.dwFlags = key.second ? 0 : KEYEVENTF_KEYUP;
        inputs.push_back(input);
    }
    SendInput(UINT(inputs.size()), inputs.data(), sizeof(INPUT));
}

void TapThroughInput(HWND window, int x, int y)
{
    POINT point = {x, y};
    ClientToScreen(window, &point);
    // The press and the release carry their position: a separate move can
    // be overtaken by an older pointer position from the display.
    INPUT input[2] = {};
    for (INPUT& one : input) {
        one.type = INPUT_MOUSE;
        one.mi.dx = MulDiv(point.x, 65536, GetSystemMetrics(SM_CXSCREEN));
        one.mi.dy = MulDiv(point.y, 65536, GetSystemMetrics(SM_CYSCREEN));
    }
    input[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN | MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    input[1].mi.dwFlags = MOUSEEVENTF_LEFTUP | MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    SendInput(2, input, sizeof(INPUT));
}
