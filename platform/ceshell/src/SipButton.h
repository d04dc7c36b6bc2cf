// The input-panel button at the right end of the menu bar's band: a tap
// raises or lowers the panel. A menu bar draws it in its own band; this
// window stands in the same place for a window in front that has no bar.
#pragma once

#include "PanelWindow.h"

#include <windows.h>

namespace ceshell {

class SipButton : public InputPanelWindow {
public:
    SipButton();
    static void WithdrawClass();

    // The button's face over area of dc, the panel up or down, as both the
    // window and a menu bar's band draw it.
    static void Paint(HDC dc, const RECT& area);
    // What a tap on the button does: the panel goes up, or down.
    static void Toggle();

private:
    RECT Area() const override;
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
};

}  // namespace ceshell
