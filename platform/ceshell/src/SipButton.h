// The input-panel button at the right end of the menu bar's band: a tap
// raises or lowers the panel. It is a window of its own, above the menu bar,
// so that it is there also for windows without a bar.
#pragma once

#include <windows.h>

namespace ceshell {

class SipButton {
public:
    bool Create(HINSTANCE instance);
    void Destroy();
    static void WithdrawClass();
    HWND Window() const { return window_; }

private:
    static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void OnPaint();

    HWND window_ = nullptr;
};

}  // namespace ceshell
