// The input-panel button at the right end of the menu bar's band: a tap
// raises or lowers the panel. It is a window of its own, above the menu bar,
// so that it is there also for windows without a bar.
#pragma once

#include "PanelWindow.h"

#include <windows.h>

namespace ceshell {

class SipButton : public InputPanelWindow {
public:
    SipButton();
    static void WithdrawClass();

private:
    RECT Area() const override;
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnPaint();
};

}  // namespace ceshell
