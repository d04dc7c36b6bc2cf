#include "SipButton.h"

#include "Module.h"
#include "PanelWindow.h"
#include "ScreenAreas.h"
#include "ShellPanels.h"
#include "SipState.h"

namespace ceshell {

namespace {

constexpr const wchar_t* kButtonClass = L"CeShellSipButton";

void DrawKeyboardIcon(HDC dc, const RECT& area, bool up)
{
    // A small keyboard: a frame with three rows of keys, and an arrow that
    // tells which way a tap moves the panel.
    int left = (area.left + area.right) / 2 - 8;
    int top = (area.top + area.bottom) / 2 - 7;
    HBRUSH ink = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    RECT frame = {left, top + 4, left + 17, top + 15};
    FrameRect(dc, &frame, ink);
    for (int row = 0; row < 3; ++row) {
        for (int column = 0; column < 5; ++column) {
            RECT key = {left + 2 + column * 3, top + 6 + row * 3, left + 4 + column * 3, top + 7 + row * 3};
            FillRect(dc, &key, ink);
        }
    }
    POINT arrow[3];
    if (up) {
        arrow[0] = POINT{left + 5, top + 3};
        arrow[1] = POINT{left + 12, top + 3};
        arrow[2] = POINT{left + 8, top - 1};
    } else {
        arrow[0] = POINT{left + 5, top - 1};
        arrow[1] = POINT{left + 12, top - 1};
        arrow[2] = POINT{left + 8, top + 3};
    }
    HGDIOBJ oldBrush = SelectObject(dc, ink);
    Polygon(dc, arrow, 3);
    SelectObject(dc, oldBrush);
}

}  // namespace

SipButton::SipButton() : InputPanelWindow(kButtonClass) {}

void SipButton::WithdrawClass()
{
    InputPanelWindow::WithdrawClass(kButtonClass);
}

RECT SipButton::Area() const
{
    return SipButtonRect();
}

void SipButton::Paint(HDC dc, const RECT& area)
{
    bool up = (ReadSipFlags() & SIPF_ON) != 0;
    FillRect(dc, &area, GetSysColorBrush(up ? COLOR_BTNSHADOW : COLOR_BTNFACE));
    RECT line = {area.left, area.top, area.right, area.top + 1};
    FillRect(dc, &line, GetSysColorBrush(COLOR_BTNSHADOW));
    // Up means the next tap lowers the panel, so the arrow points down.
    DrawKeyboardIcon(dc, area, !up);
}

void SipButton::Toggle()
{
    SipShowIM((ReadSipFlags() & SIPF_ON) ? SIPF_OFF : SIPF_ON);
}

LRESULT SipButton::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_LBUTTONDOWN:
        Toggle();
        return 0;
    case WM_PAINT: {
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(window_, &paint);
        RECT client;
        GetClientRect(window_, &client);
        Paint(dc, client);
        EndPaint(window_, &paint);
        return 0;
    }
    case WM_SETTINGCHANGE:
        ShellPanels::Refresh();
        return 0;
    }
    return DefWindowProcW(window_, message, wParam, lParam);
}

}  // namespace ceshell
