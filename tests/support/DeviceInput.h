// Input as the device's user gives it, through the system's input queue
// (SendInput), so that it reaches whichever window has the focus or lies
// under the stylus, and shows in GetAsyncKeyState.
#pragma once

#include <windows.h>

#include <initializer_list>
#include <utility>

// Presses a key, or lets it go.
void SendKey(WORD key, bool down);

// Several presses and releases, {key, down}, in order and in one go.
void SendKeys(std::initializer_list<std::pair<WORD, bool>> keys);

// A stylus tap at a point of a window's client area.
void TapThroughInput(HWND window, int x, int y);

// A key held down for a scope, as a hardware button's driver holds it.
class KeyHeld {
public:
    explicit KeyHeld(WORD key) : key_(key) { SendKey(key_, true); }
    ~KeyHeld() { SendKey(key_, false); }
    KeyHeld(const KeyHeld&) = delete;
    KeyHeld& operator=(const KeyHeld&) = delete;

private:
    WORD key_;
};
