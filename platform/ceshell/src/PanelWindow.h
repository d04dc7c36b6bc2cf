// The shell's own small windows: the menu bar's band along the bottom, the
// input panel and its button. None of them ever takes the activation from
// the program's window it serves.
#pragma once

#include <windows.h>

namespace ceshell {

// Registers such a window's class in this module, unless it is there.
bool RegisterPanelClass(HINSTANCE instance, const wchar_t* className, WNDPROC procedure);

// A window of the input panel (the keyboard, its button): topmost over its
// area, of a class of its own that the module withdraws when it goes.
class InputPanelWindow {
public:
    virtual ~InputPanelWindow() = default;
    bool Create(HINSTANCE instance);
    virtual void Destroy();
    HWND Window() const { return window_; }

protected:
    explicit InputPanelWindow(const wchar_t* className) : className_(className) {}
    // The screen area the window stands over.
    virtual RECT Area() const = 0;
    // Every message after the window's own creation began.
    virtual LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) = 0;
    static void WithdrawClass(const wchar_t* className);

    HWND window_ = nullptr;

private:
    static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT Dispatch(UINT message, WPARAM wParam, LPARAM lParam);

    const wchar_t* className_;
};

}  // namespace ceshell
