// The input panel itself: an on-screen keyboard above the menu bar that
// types into the focused window of this process's foreground window. It
// never takes the activation, so the focus stays where the typing goes.
#pragma once

#include "PanelWindow.h"

#include <windows.h>

namespace ceshell {

class SipPanel : public InputPanelWindow {
public:
    SipPanel();
    bool Create(HINSTANCE instance);
    void Destroy() override;
    static void WithdrawClass();

    // Types the key as a tap on it would.
    void PressKey(int index);

private:
    RECT Area() const override;
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnPaint();
    void OnStylusDown(POINT point);
    void OnStylusUp();
    void OnRepeat();
    void DrawKey(HDC dc, int index, const RECT& rect);
    static HWND TypingTarget();

    HFONT font_ = nullptr;
    bool shift_ = false;
    bool capsLock_ = false;
    bool repeatShift_ = false;  // the shift a held key was pressed with
    int pressed_ = -1;
};

}  // namespace ceshell
